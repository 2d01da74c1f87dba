// How punctually playback sends its Events on the system's multimedia
// timers. A recording MIDI output stamps every message; each callback's
// lateness is the time from the end of the previous callback (where it
// started its timer) to its first message, less the delay it asked for.
// The drift is how far the last Event lands from the piece's exact musical
// time, counted from the first Event.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "events/events.h"
#include "midi/playback.h"
#include "settings/settings.h"
#include "tests/win/support/recording_midi_out.h"

enum { Tempo60 = 5, Tempo200 = 11 };

// Voice 1 runs in 64th notes; voice 2 mixes 64ths with triplet, dotted and
// longer values, so the merged gaps range from 4 ticks to a quarter note.
static void BuildPiece()
{
    ClearVoiceLists();
    for (VoiceTrack& track : VoiceTracks) track.Active = 0;
    VoiceTracks[0].Active = 1;
    VoiceTracks[1].Active = 1;
    AppendProgramChange(&VoiceTracks[0].Events, 0, 0);
    AppendProgramChange(&VoiceTracks[1].Events, 1, 32);
    const int pieceTicks = 24 * 300;
    for (int n = 0; n < 300; ++n) {
        AppendNoteMessage(&VoiceTracks[0].Events, 0, 0, 72 + n % 12, 90);
        AppendNoteMessage(&VoiceTracks[0].Events, 24, 0, 72 + n % 12, 0);
    }
    const int mixed[] = {16, 36, 24, 96, 16, 192, 48, 24, 36, 384, 32, 64};
    int tick = 0;
    for (int n = 0; tick < pieceTicks; ++n) {
        int length = std::min(mixed[n % 12], pieceTicks - tick);
        AppendNoteMessage(&VoiceTracks[1].Events, 0, 1, 48 + n % 12, 80);
        AppendNoteMessage(&VoiceTracks[1].Events, length, 1, 48 + n % 12, 0);
        tick += length;
    }
}

static double Percentile(const std::vector<double>& sorted, double p)
{
    size_t rank = (size_t)std::ceil(p * sorted.size());
    return sorted[std::max<size_t>(rank, 1) - 1];
}

static bool Run(int tempoIndex)
{
    WriteTempoIndex(tempoIndex);
    int bpm = TempoTable[tempoIndex];
    ResetRecordingMidiOut();
    if (!StartPlayback()) {
        std::printf("playback did not start\n");
        return false;
    }
    while (RecordingMidiOutOpen()) Sleep(20);

    // The callbacks as the PlaybackList groups them: the Events of one tick.
    std::vector<int> groupDelta;
    std::vector<int> groupSize;
    for (Event* e = FirstEvent(&PlaybackList); !IsEnd(&PlaybackList, e); e = e->Next) {
        if (groupSize.empty() || e->Delta > 0) {
            groupDelta.push_back(e->Delta);
            groupSize.push_back(0);
        }
        ++groupSize.back();
    }
    std::vector<RecordedMidi> log = RecordedMidiLog();
    std::vector<int64_t> sends;
    for (const RecordedMidi& r : log)
        if (r.Action == RecordedSend) sends.push_back(r.Time);
    size_t events = (size_t)CountEvents(&PlaybackList);
    if (sends.size() != events) {
        std::printf("expected %zu messages, recorded %zu\n", events, sends.size());
        return false;
    }

    double msPerCount = 1000.0 / (double)RecordedTicksPerSecond();
    std::vector<double> lateness;
    double truncation = 0, exact = 0;
    size_t index = groupSize[0];
    int64_t previousEnd = sends[index - 1], firstSend = sends[0];
    for (size_t g = 1; g < groupSize.size(); ++g) {
        double asked = DelayOfTicks(groupDelta[g], bpm);
        double musical = groupDelta[g] * 60000.0 / (bpm * 384.0);
        exact += musical;
        truncation += asked - musical;
        lateness.push_back((sends[index] - previousEnd) * msPerCount - asked);
        index += groupSize[g];
        previousEnd = sends[index - 1];
    }
    double drift = (sends[index - groupSize.back()] - firstSend) * msPerCount - exact;
    double firstLate = (firstSend - log[0].Time) * msPerCount - 1000.0;

    double sum = 0;
    for (double l : lateness) sum += l;
    std::vector<double> sorted = lateness;
    std::sort(sorted.begin(), sorted.end());
    std::printf("tempo %3d: %zu callbacks over %.1f s\n", bpm, groupSize.size(), exact / 1000);
    std::printf("  lateness ms: mean %.3f  p50 %.3f  p99 %.3f  max %.3f  (min %.3f; first Event %.3f)\n",
                sum / lateness.size(), Percentile(sorted, 0.50), Percentile(sorted, 0.99), sorted.back(),
                sorted.front(), firstLate);
    std::printf("  drift of the last Event: %+.3f ms (of which delays cut to whole ms: %+.3f ms)\n", drift,
                truncation);
    return true;
}

int main()
{
    ResetSettings();
    BuildPiece();
    bool ok = Run(Tempo200) && Run(Tempo60);
    EndPlaybackForExit();
    return ok ? 0 : 1;
}
