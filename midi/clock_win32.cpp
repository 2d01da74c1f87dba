#include <windows.h>
#include <mmsystem.h>

#include "midi/clock.h"

// The multimedia clock: as fine as the timer period playback raises.
uint32_t ClockMilliseconds()
{
    return timeGetTime();
}
