// How long the piece view takes to draw the largest piece (16 voices, 48
// slots each, 12 notes a slot) at 1920 x 1080, off screen as the window
// draws it; and how wide the strip is that one step of the cursor repaints
// at the fastest tempo, with the time it takes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/dpi_win32.h"
#include "app/piece_view_win32.h"
#include "engine/compose.h"
#include "engine/random.h"
#include "settings/settings.h"

enum { Width = 1920, Height = 1080, Frames = 60, FramePeriod = 33 };
static uint32_t* Pixels;

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

// The median and the slowest of Frames drawings of clip; the first of a
// piece also measures its slots' names.
static void Time(HDC dc, const ViewFrame& f, const RECT& clip, double cursor, HFONT font, double* median, double* slowest)
{
    std::vector<double> times;
    for (int i = 0; i < Frames; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        DrawPieceView(dc, PiecePixels{Pixels, Width, Height}, f, clip, cursor, font);
        GdiFlush();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    *median = times[times.size() / 2];
    *slowest = times.back();
}

int main()
{
    ResetSettings();
    DrawRandomPool();
    for (int v = 0; v < VoiceCount; ++v) {
        Settings.VoiceActive[v] = 1;
        for (int k = 0; k < FormCount; ++k) Settings.FormSelection[v][k] = 1;
    }
    Compose();
    TakePieceSnapshot();
    std::printf("piece: %d notes, %d slots, %d ticks\n", (int)Piece.NoteCount, (int)Piece.SlotMarkCount,
                (int)Piece.Length);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Pixels = (uint32_t*)bits;
    SelectObject(dc, bitmap);
    HFONT font = CreateMessageFont(BaseDpi);

    ViewFrame f{Width, Height, BaseDpi, 16, 1, 0};
    FitToWidth(&f);
    double median, slowest;
    RECT whole{0, 0, Width, Height};
    Time(dc, f, whole, Piece.Length / 2.0, font, &median, &slowest);
    std::printf("whole view %dx%d, fitted: %.2f ms a frame (median), %.2f ms the slowest (%d frames)\n", Width,
                Height, median, slowest, Frames);

    ViewFrame zoomed = f;
    ZoomAt(&zoomed, 8, Width / 2);
    Time(dc, zoomed, whole, Piece.Length / 2.0, font, &median, &slowest);
    std::printf("whole view zoomed in 8 times: %.2f ms a frame (median), %.2f ms the slowest\n", median, slowest);

    // One timer step of the cursor at the fastest tempo.
    const int32_t fastest = *std::max_element(TempoTable, TempoTable + TempoCount);
    const double step = FramePeriod * fastest * (double)TicksPerQuarter / 60000.0;
    for (const ViewFrame* frame : {&f, &zoomed}) {
        double from = XToTick(*frame, Width / 2);
        PixelRect strip = CursorStrip(*frame, from, from + step);
        RECT clip{strip.Left, strip.Top, strip.Right, strip.Bottom};
        Time(dc, *frame, clip, from + step, font, &median, &slowest);
        std::printf("cursor step of %.0f ticks (%d ms at %d beats a minute)%s: strip %d px wide of %d, drawn in %.3f ms\n",
                    step, FramePeriod, (int)fastest, frame == &f ? ", fitted" : ", zoomed in 8 times",
                    (int)(strip.Right - strip.Left), Width, median);
    }
    return 0;
}
