#include "midi/form_list.h"

#include "engine/matrices.h"
#include "events/events.h"

bool ChooseFormNotes(int32_t voice, int32_t formIndex, FormNote* notes)
{
    if (voice < 0 || voice >= VoiceCount || !VoiceTracks[voice].Active) return false;
    int32_t tones[RowLength], durations[RowLength], velocities[RowLength];
    if (!ExtractForm(formIndex, ToneMatrix, tones)) return false;
    ExtractForm(formIndex, DurationMatrix, durations);
    ExtractForm(formIndex, VelocityMatrix, velocities);
    for (int k = 0; k < RowLength; ++k)
        notes[k] = FormNote{tones[k] + 12 * VoiceTracks[voice].Octave, durations[k], velocities[k]};
    return true;
}

static bool AppendFormNotes(int32_t voice, const FormNote* notes)
{
    if (!AppendProgramChange(&PlaybackList, voice, VoiceTracks[voice].Program)) return false;
    for (int k = 0; k < RowLength; ++k) {
        if (!AppendNoteMessage(&PlaybackList, 0, voice, notes[k].Key, notes[k].Velocity)) return false;
        if (!AppendNoteMessage(&PlaybackList, notes[k].Ticks, voice, notes[k].Key, 0)) return false;
    }
    return true;
}

bool BuildFormList(int32_t voice, int32_t formIndex)
{
    ClearEventList(&PlaybackList);
    FormNote notes[RowLength];
    if (!ChooseFormNotes(voice, formIndex, notes)) return false;
    if (AppendFormNotes(voice, notes)) return true;
    ClearEventList(&PlaybackList);
    return false;
}
