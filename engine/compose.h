// Compose: a new piece from the settings, one event list per active voice.
#pragma once
#include <cstdint>

#include "events/events.h"

extern int32_t SlotCount;

void Compose();

// The 24 Events of one form slot; silent slots keep their durations.
void AppendForm(int32_t voice, VoiceTrack* track, const int32_t* tones, const int32_t* durations,
                const int32_t* velocities);
void AppendNote(int32_t voice, VoiceTrack* track, int32_t pitchClass, int32_t duration, int32_t velocity);
