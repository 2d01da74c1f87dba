#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "midi/timers.h"
#include "tests/unit/fakes/playback_fakes.h"

using Clock = std::chrono::steady_clock;

struct TimerSlot {
    FakeTimer Timer;
    bool Done;  // fired or killed
    Clock::time_point Due;
};

static std::mutex TimerFakeLock;
static std::condition_variable TimersChanged;
static std::vector<TimerSlot> Timers;
static std::vector<uint32_t> Killed;
static std::vector<uint32_t> Begun;
static std::vector<uint32_t> Ended;
static uint32_t NextId = 1;
static TimerCaps Caps{1, 65535};
static bool CapsAvailable = true;
static int SuccessesLeft = -1;

static std::thread Worker;
static bool WorkerQuits;
static double Scale;

void ResetTimerFake()
{
    StopTimerThread();
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    Timers.clear();
    Killed.clear();
    Begun.clear();
    Ended.clear();
    Caps = TimerCaps{1, 65535};
    CapsAvailable = true;
    SuccessesLeft = -1;
}

void SetTimerCaps(uint32_t periodMin, uint32_t periodMax, bool available)
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    Caps = TimerCaps{periodMin, periodMax};
    CapsAvailable = available;
}

void FailTimerStartsAfter(int successes)
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    SuccessesLeft = successes;
}

bool GetTimerCaps(TimerCaps* caps)
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    if (!CapsAvailable) return false;
    *caps = Caps;
    return true;
}

void BeginTimerPeriod(uint32_t period)
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    Begun.push_back(period);
}

void EndTimerPeriod(uint32_t period)
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    Ended.push_back(period);
}

uint32_t StartPlaybackTimer(uint32_t delay, uint32_t resolution, uintptr_t user)
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    if (SuccessesLeft == 0) return 0;
    if (SuccessesLeft > 0) --SuccessesLeft;
    FakeTimer timer{NextId++, delay, resolution, user};
    auto wait = std::chrono::duration<double, std::milli>(delay * Scale);
    Timers.push_back({timer, false, Clock::now() + std::chrono::duration_cast<Clock::duration>(wait)});
    TimersChanged.notify_all();
    return timer.Id;
}

void KillPlaybackTimer(uint32_t id)
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    Killed.push_back(id);
    for (TimerSlot& slot : Timers)
        if (slot.Timer.Id == id) slot.Done = true;
    TimersChanged.notify_all();
}

std::vector<FakeTimer> StartedTimers()
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    std::vector<FakeTimer> started;
    for (const TimerSlot& slot : Timers) started.push_back(slot.Timer);
    return started;
}

std::vector<uint32_t> KilledTimers()
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    return Killed;
}

std::vector<uint32_t> PeriodsBegun()
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    return Begun;
}

std::vector<uint32_t> PeriodsEnded()
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    return Ended;
}

int PendingTimerCount()
{
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    int n = 0;
    for (const TimerSlot& slot : Timers) n += !slot.Done;
    return n;
}

void FireTimerAnyway(const FakeTimer& timer)
{
    PlaybackTimerProc(timer.Id, 0, timer.User, 0, 0);
}

bool FirePendingTimer()
{
    FakeTimer timer{};
    {
        std::lock_guard<std::mutex> hold(TimerFakeLock);
        TimerSlot* pending = nullptr;
        for (TimerSlot& slot : Timers)
            if (!slot.Done) {
                pending = &slot;
                break;
            }
        if (!pending) return false;
        pending->Done = true;
        timer = pending->Timer;
    }
    FireTimerAnyway(timer);
    return true;
}

// The earliest timer still pending, or null.
static TimerSlot* NextDue()
{
    TimerSlot* next = nullptr;
    for (TimerSlot& slot : Timers)
        if (!slot.Done && (!next || slot.Due < next->Due)) next = &slot;
    return next;
}

static void RunWorker()
{
    std::unique_lock<std::mutex> hold(TimerFakeLock);
    while (!WorkerQuits) {
        TimerSlot* next = NextDue();
        if (!next) {
            TimersChanged.wait(hold);
            continue;
        }
        if (Clock::now() < next->Due) {
            // a copy: the wait reads its deadline after the slots may have moved
            Clock::time_point due = next->Due;
            TimersChanged.wait_until(hold, due);
            continue;
        }
        next->Done = true;
        FakeTimer timer = next->Timer;
        hold.unlock();
        FireTimerAnyway(timer);
        hold.lock();
    }
}

void RunTimersOnThread(double scale)
{
    StopTimerThread();
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    Scale = scale;
    WorkerQuits = false;
    Worker = std::thread(RunWorker);
}

void StopTimerThread()
{
    {
        std::lock_guard<std::mutex> hold(TimerFakeLock);
        if (!Worker.joinable()) return;
        WorkerQuits = true;
        TimersChanged.notify_all();
    }
    Worker.join();
    std::lock_guard<std::mutex> hold(TimerFakeLock);
    Scale = 0;
}
