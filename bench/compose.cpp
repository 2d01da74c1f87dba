// Compose of the largest piece: 16 voices, all 48 slots each (18,448 Events),
// repeated; prints the median and p95 time per Compose and the heap bytes
// that one Event costs.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/compose.h"
#include "engine/random.h"

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 400;
    ResetSettings();
    DrawRandomPool();
    for (int v = 0; v < VoiceCount; ++v) {
        Settings.VoiceActive[v] = 1;
        for (int f = 0; f < FormCount; ++f) Settings.FormSelection[v][f] = 1;
    }
    Compose();  // first Compose creates the storage
    long events = 0;
    for (int v = 0; v < VoiceCount; ++v) events += CountEvents(&VoiceTracks[v].Events);

    for (int v = 0; v < VoiceCount; ++v) ClearEventList(&VoiceTracks[v].Events);
    size_t before = mallinfo2().uordblks;
    Compose();
    size_t after = mallinfo2().uordblks;

    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        Compose();
        auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("compose: %d runs, %ld events per Compose, pools drawn %d\n", runs, events, PoolsDrawn);
    std::printf("compose: median %.3f ms, p95 %.3f ms, max %.3f ms\n", ms[ms.size() / 2],
                ms[ms.size() * 95 / 100], ms.back());
    std::printf("compose: %.1f heap bytes per Event (sizeof(Event) = %zu)\n",
                double(after - before) / double(events), sizeof(Event));
    return 0;
}
