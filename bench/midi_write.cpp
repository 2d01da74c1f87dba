// Saving the largest piece: 16 voices, 48 slots each, whole notes (two-byte
// deltas), so the file has its largest size. Prints the median and p95 time
// of building the image and of the whole save (image and file), and the size.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/compose.h"
#include "engine/random.h"
#include "midi/smf.h"

using Clock = std::chrono::steady_clock;

static double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

static void Print(const char* what, std::vector<double>& ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("midi_write: %s median %.4f ms, p95 %.4f ms, max %.4f ms\n", what, ms[ms.size() / 2],
                ms[ms.size() * 95 / 100], ms.back());
}

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    ResetSettings();
    DrawRandomPool();
    for (int v = 0; v < VoiceCount; ++v) {
        Settings.VoiceActive[v] = 1;
        for (int f = 0; f < FormCount; ++f) Settings.FormSelection[v][f] = 1;
    }
    for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = 0;
    Compose();

    std::vector<double> image, save;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        BuildMidiImage();
        image.push_back(Ms(t0, Clock::now()));
    }
    std::string path = (std::filesystem::temp_directory_path() / "varnolt-bench-midi-write.mid").string();
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        if (!WriteMidiFile(path.c_str())) {
            std::printf("midi_write: cannot write %s\n", path.c_str());
            return 1;
        }
        save.push_back(Ms(t0, Clock::now()));
    }
    uintmax_t size = std::filesystem::file_size(path);
    std::filesystem::remove(path);

    std::printf("midi_write: %d runs, file %ju bytes (image %u bytes, at most 83240)\n", runs, size,
                (unsigned)FileImageCount);
    Print("image", image);
    Print("whole save", save);
    return size == FileImageCount && size <= 83240 ? 0 : 1;
}
