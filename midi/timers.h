// The system's multimedia timers, as playback uses them: a raised timer
// resolution for the whole piece and one one-shot timer at a time, whose
// expiry calls PlaybackTimerProc on the system's timer thread.
#pragma once
#include <cstdint>

struct TimerCaps {
    uint32_t PeriodMin;
    uint32_t PeriodMax;
};

bool GetTimerCaps(TimerCaps* caps);  // false when the system gives none
void BeginTimerPeriod(uint32_t period);
void EndTimerPeriod(uint32_t period);

// Starts a one-shot timer that calls PlaybackTimerProc(id, 0, user, 0, 0)
// after delay ms; returns its id, 0 when it cannot be started. The user
// value is passed through untouched.
uint32_t StartPlaybackTimer(uint32_t delay, uint32_t resolution, uintptr_t user);

// Cancels a timer that has not fired yet. It does not wait for a callback
// that is already running.
void KillPlaybackTimer(uint32_t id);

// Defined by playback: the timer callback.
void PlaybackTimerProc(uint32_t id, uint32_t message, uintptr_t user, uintptr_t reserved1, uintptr_t reserved2);
