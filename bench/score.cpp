// The score of the largest piece: 16 voices, 48 slots each, a duration row
// that mixes triplet values, dotted values and 1/64s, so that brackets, ties
// and split values come in every beat. Prints the median and p95 time of
// making the score's text, and its size. With a folder named, also leaves the
// piece there as varnolt-largest.mid and varnolt-largest.musicxml.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/compose.h"
#include "engine/random.h"
#include "midi/score.h"
#include "midi/smf.h"

using Clock = std::chrono::steady_clock;

// ^1/8, .1/8, 1/64, ^1/16, .1/64, 1/8, ^1/64, .1/16, 1, ^1/32, .1/4, 1/32
static const int32_t MixedDurations[RowLength] = {7, 13, 6, 8, 16, 3, 10, 14, 0, 9, 12, 5};

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 50;
    ResetSettings();
    DrawRandomPool();
    for (int v = 0; v < VoiceCount; ++v) {
        Settings.VoiceActive[v] = 1;
        Settings.VoiceInstrument[v] = v * 8;
        Settings.VoiceOctave[v] = v % 9;
        for (int f = 0; f < FormCount; ++f) Settings.FormSelection[v][f] = (f + v) % 7 != 0;
    }
    for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = MixedDurations[i];
    Compose();

    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        BuildScoreText("varnolt-largest");
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("score: %d runs, %zu bytes; median %.3f ms, p95 %.3f ms, max %.3f ms (target 20 ms)\n", runs,
                ScoreText.size(), ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back());
    if (argc > 2) {
        std::string folder = argv[2];
        if (!WriteMidiFile((folder + "/varnolt-largest.mid").c_str())) return 1;
        if (!WriteScoreFile((folder + "/varnolt-largest.musicxml").c_str())) return 1;
    }
    return 0;
}
