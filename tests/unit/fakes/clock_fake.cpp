#include <atomic>

#include "midi/clock.h"
#include "tests/unit/fakes/playback_fakes.h"

static std::atomic<uint32_t> Now;

uint32_t ClockMilliseconds()
{
    return Now;
}

void SetClockMilliseconds(uint32_t now)
{
    Now = now;
}
