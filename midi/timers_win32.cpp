#include <windows.h>
#include <mmsystem.h>

#include "midi/timers.h"

bool GetTimerCaps(TimerCaps* caps)
{
    TIMECAPS tc{};
    if (timeGetDevCaps(&tc, sizeof tc) != MMSYSERR_NOERROR) return false;
    caps->PeriodMin = tc.wPeriodMin;
    caps->PeriodMax = tc.wPeriodMax;
    return true;
}

void BeginTimerPeriod(uint32_t period)
{
    timeBeginPeriod(period);
}

void EndTimerPeriod(uint32_t period)
{
    timeEndPeriod(period);
}

static void CALLBACK TimerExpired(UINT id, UINT message, DWORD_PTR user, DWORD_PTR reserved1, DWORD_PTR reserved2)
{
    PlaybackTimerProc(id, message, user, reserved1, reserved2);
}

uint32_t StartPlaybackTimer(uint32_t delay, uint32_t resolution, uintptr_t user)
{
    return timeSetEvent(delay, resolution, TimerExpired, user, TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
}

void KillPlaybackTimer(uint32_t id)
{
    timeKillEvent(id);
}
