#include "engine/compose.h"

#include <cstdlib>

#include "app/report_error.h"
#include "engine/matrices.h"
#include "engine/random.h"

int32_t SlotCount;

void AppendNote(int32_t voice, VoiceTrack* track, int32_t pitchClass, int32_t duration, int32_t velocity)
{
    int32_t note = pitchClass + 12 * track->Octave;
    AppendNoteMessage(&track->Events, 0, voice, note, velocity);
    AppendNoteMessage(&track->Events, duration, voice, note, 0);
}

void AppendForm(int32_t voice, VoiceTrack* track, const int32_t* tones, const int32_t* durations,
                const int32_t* velocities)
{
    for (int n = 0; n < RowLength; ++n)
        AppendNote(voice, track, tones[n], durations[n], track->Silent ? 0 : velocities[n]);
}

static void CountSlots()
{
    SlotCount = 0;
    for (int v = 0; v < VoiceCount; ++v) {
        VoiceTracks[v].Active = Settings.VoiceActive[v] == 1 ? 1 : 0;
        if (!VoiceTracks[v].Active) continue;
        for (int f = 0; f < FormCount; ++f)
            if (Settings.FormSelection[v][f] && f + 1 > SlotCount) SlotCount = f + 1;
    }
}

static void ExtractOrDie(int32_t formIndex, const Matrix m, int32_t* out)
{
    if (ExtractForm(formIndex, m, out)) return;
    ReportError("ERROR: bad series");
    std::exit(0);
}

static void ComposeVoice(int32_t v)
{
    VoiceTrack* track = &VoiceTracks[v];
    // The order is kept with the voice, so that the piece's plan can be shown.
    int32_t* perm = track->FormOrder;
    DrawPermutation(FormCount, perm);
    for (int k = 0; k < SlotCount; ++k) {
        track->Silent = track->FormFlags[k] == 1 ? 0 : 1;
        int32_t tones[RowLength], durations[RowLength], velocities[RowLength];
        ExtractOrDie(perm[k], ToneMatrix, tones);
        ExtractOrDie(perm[k], DurationMatrix, durations);
        ExtractOrDie(perm[k], VelocityMatrix, velocities);
        AppendForm(v, track, tones, durations, velocities);
    }
}

static void ComposeVoices()
{
    CountSlots();
    for (int v = 0; v < VoiceCount; ++v) {
        if (!VoiceTracks[v].Active) continue;
        VoiceTracks[v].Program = Settings.VoiceInstrument[v] & 0xFF;
        AppendProgramChange(&VoiceTracks[v].Events, v, VoiceTracks[v].Program);
        VoiceTracks[v].Octave = Settings.VoiceOctave[v];
    }
    for (int v = 0; v < VoiceCount; ++v)
        if (VoiceTracks[v].Active)
            for (int f = 0; f < FormCount; ++f) VoiceTracks[v].FormFlags[f] = Settings.FormSelection[v][f];
    int32_t active = 0;
    for (int v = 0; v < VoiceCount; ++v) {
        if (!VoiceTracks[v].Active) continue;
        ++active;
        ComposeVoice(v);
    }
    SongHeader.TrackCount = 1 + active;
}

void Compose()
{
    ClearVoiceLists();
    BuildMatrices();
    ComposeVoices();
}
