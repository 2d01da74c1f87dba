#include <mutex>

#include "midi/command_state.h"
#include "tests/unit/fakes/playback_fakes.h"

static std::mutex CommandFakeLock;
static std::vector<CommandsShown> Shown;
static std::function<void()> Hook;

void RunOnNextCommandShown(std::function<void()> hook)
{
    std::lock_guard<std::mutex> hold(CommandFakeLock);
    Hook = std::move(hook);
}

static void Record(CommandsShown shown)
{
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> hold(CommandFakeLock);
        hook.swap(Hook);
    }
    if (hook) hook();
    std::lock_guard<std::mutex> hold(CommandFakeLock);
    Shown.push_back(shown);
}

void ResetCommandRecorder()
{
    std::lock_guard<std::mutex> hold(CommandFakeLock);
    Shown.clear();
    Hook = nullptr;
}

void ShowCommandsPlaying()
{
    Record(CommandsPlaying);
}

void ShowCommandsIdle()
{
    Record(CommandsIdle);
}

std::vector<CommandsShown> CommandsShownLog()
{
    std::lock_guard<std::mutex> hold(CommandFakeLock);
    return Shown;
}
