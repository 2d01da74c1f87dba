// One form of the series as a voice of the last piece plays it, for the
// Forms dialog to play on its own.
#pragma once
#include <cstdint>

#include "settings/settings.h"

struct FormNote {
    int32_t Key;       // the pitch class in the voice's octave
    int32_t Ticks;
    int32_t Velocity;
};

// The twelve notes of the form (FormIndex 0..47) in the voice (0..15): its
// pitch classes, durations and velocities from the three matrices of the
// last Compose, read as that voice reads them, in the voice's octave. A form
// that a silent slot keeps silent sounds here all the same. False, writing
// nothing, for a voice that took no part or a form outside 0..47.
bool ChooseFormNotes(int32_t voice, int32_t formIndex, FormNote* notes);

// Fills the PlaybackList with the voice's instrument and the form's notes,
// shaped as a voice's list: note starts with delta 0, each end after its
// note's ticks. False when the form cannot be chosen or an Event cannot be
// allocated: the list is then left empty.
bool BuildFormList(int32_t voice, int32_t formIndex);
