// The piece view: a child window below the two status lines that draws what
// piece_layout plans, off screen first and then copied, so nothing flickers.
#include "app/piece_view_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/app_win32.h"
#include "app/dpi_win32.h"
#include "app/main_window_win32.h"
#include "midi/clock.h"
#include "resources/resource.h"
#include "settings/program_names.h"

HWND PieceView;

static const char ViewClass[] = "VarnoltPieceView";
enum { CursorTimer = 1, CursorTimerPeriod = 33, PercussionVoice = 9 };

static ViewFrame Frame{1, 1, BaseDpi, 16, 1, 0};
static HFONT ViewFont;
static double LastCursor = -1;  // the tick the cursor was drawn at
static bool FollowCursor;
static HDC Buffer;              // the off-screen picture, as large as the view
static HBITMAP BufferBitmap;
static PiecePixels BufferPixels;
static int BufferWidth, BufferHeight;

const ViewFrame& PieceViewFrame()
{
    return Frame;
}

double PieceViewCursor()
{
    return LastCursor;
}

// ---- Drawing

static bool HighContrast()
{
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

static COLORREF VoiceColour(int32_t voice, bool contrast)
{
    if (contrast) return GetSysColor(COLOR_HIGHLIGHT);
    uint32_t rgb = VoiceColours[voice & 15];
    return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

static COLORREF Darker(COLORREF c)
{
    return RGB(GetRValue(c) * 3 / 5, GetGValue(c) * 3 / 5, GetBValue(c) * 3 / 5);
}

// Where the picture's pixels lie when it is drawn into a 32-bit DIB section,
// as the view's own buffer is: thousands of small bars are written there
// directly, far quicker than one call of the system each. The clip is the
// part being drawn again.
struct PixelTarget {
    uint32_t* Bits;  // null: fill through the system
    int32_t Stride;  // pixels in a row
    RECT Clip;
};
static PixelTarget Target;

static void AimAt(const PiecePixels& pixels, const RECT& clip)
{
    Target = PixelTarget{pixels.Bits, pixels.Width, clip};
    if (!pixels.Bits) return;
    Target.Clip = RECT{std::max<LONG>(clip.left, 0), std::max<LONG>(clip.top, 0), std::min<LONG>(clip.right, pixels.Width),
                       std::min<LONG>(clip.bottom, pixels.Height)};
    GdiFlush();  // what the system drew so far is in the pixels
}

static void Fill(HDC dc, const PixelRect& r, COLORREF colour)
{
    if (!Target.Bits) {
        SetBkColor(dc, colour);
        RECT rect{r.Left, r.Top, r.Right, r.Bottom};
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        return;
    }
    const int32_t left = std::max<int32_t>(r.Left, Target.Clip.left), right = std::min<int32_t>(r.Right, Target.Clip.right);
    const int32_t top = std::max<int32_t>(r.Top, Target.Clip.top), bottom = std::min<int32_t>(r.Bottom, Target.Clip.bottom);
    const uint32_t pixel = (uint32_t)GetRValue(colour) << 16 | (uint32_t)GetGValue(colour) << 8 | GetBValue(colour);
    for (int32_t y = top; y < bottom; ++y) std::fill_n(Target.Bits + (ptrdiff_t)y * Target.Stride + left, std::max(0, right - left), pixel);
}

static void Outline(HDC dc, const PixelRect& r, COLORREF colour, int32_t thickness)
{
    Fill(dc, PixelRect{r.Left, r.Top, r.Right, r.Top + thickness}, colour);
    Fill(dc, PixelRect{r.Left, r.Bottom - thickness, r.Right, r.Bottom}, colour);
    Fill(dc, PixelRect{r.Left, r.Top, r.Left + thickness, r.Bottom}, colour);
    Fill(dc, PixelRect{r.Right - thickness, r.Top, r.Right, r.Bottom}, colour);
}

static void DrawNotes(HDC dc, const ViewFrame& f, const RECT& clip, bool contrast)
{
    const int32_t line = std::max(1, ScaleLength(1, f.Dpi));
    const RollMetrics roll = MeasureRoll(f);
    const int32_t left = std::max<int32_t>(clip.left, NotesLeft(f));
    COLORREF colours[VoiceCount];
    for (int32_t v = 0; v < VoiceCount; ++v) colours[v] = VoiceColour(v, contrast);
    for (int32_t i = 0; i < Piece.NoteCount; ++i) {
        const ViewNote& note = Piece.Notes[i];
        PixelRect r = PlaceNote(roll, note);
        if (r.Right <= left || r.Left >= clip.right) continue;
        r.Left = std::max(r.Left, NotesLeft(f));  // cut by the labels' column, not by the clip
        COLORREF colour = colours[note.Voice & 15];
        bool roomy = r.Right - r.Left > 3 * line && r.Bottom - r.Top > 2 * line;
        if (note.Silent) {
            Outline(dc, r, contrast ? colour : Darker(colour), line);
        } else {
            Fill(dc, r, contrast || !roomy ? colour : Darker(colour));
            if (!contrast && roomy) Fill(dc, PixelRect{r.Left + line, r.Top + line, r.Right - line, r.Bottom - line}, colour);
        }
    }
}

// The voice's next slot, or the end of the piece: how much room a name has.
static int32_t SlotEnd(int32_t i)
{
    const ViewSlot& slot = Piece.Slots[i];
    if (i + 1 < Piece.SlotMarkCount && Piece.Slots[i + 1].Voice == slot.Voice) return Piece.Slots[i + 1].Start;
    return Piece.Length;
}

// The width of each slot's name in the font, measured once for a piece and
// a font rather than at every frame.
static int32_t NameWidths[MaxViewSlots];
static HFONT MeasuredFont;
static int32_t MeasuredPiece = -1;

static void MeasureNames(HDC dc, HFONT font)
{
    if (font == MeasuredFont && Piece.Generation == MeasuredPiece) return;
    for (int32_t i = 0; i < Piece.SlotMarkCount; ++i) {
        SIZE size{};
        GetTextExtentPoint32A(dc, Piece.Slots[i].Name, (int)std::strlen(Piece.Slots[i].Name), &size);
        NameWidths[i] = size.cx;
    }
    MeasuredFont = font;
    MeasuredPiece = Piece.Generation;
}

static void DrawSlotMarks(HDC dc, const ViewFrame& f, const RECT& clip, bool contrast)
{
    GdiFlush();  // the text drawn so far lies under what follows
    const int32_t width = std::max(1, ScaleLength(2, f.Dpi));
    const int32_t gap = ScaleLength(3, f.Dpi);
    for (int32_t i = 0; i < Piece.SlotMarkCount; ++i) {
        const ViewSlot& slot = Piece.Slots[i];
        int32_t x = TickToX(f, slot.Start), end = TickToX(f, SlotEnd(i));
        if (end < clip.left || x - width > clip.right || x < NotesLeft(f)) continue;
        int32_t top = KeyTop(f, slot.TopKey);
        COLORREF colour = contrast ? GetSysColor(COLOR_WINDOWTEXT) : Darker(VoiceColour(slot.Voice, false));
        Fill(dc, PixelRect{x, top - f.TextHeight / 2, x + width, top}, colour);
        if (NameWidths[i] + 2 * gap > end - x) continue;  // no room for the name at this scale
        const int length = (int)std::strlen(slot.Name);
        SetTextColor(dc, colour);
        TextOutA(dc, x + width + gap / 2, top - f.TextHeight - gap / 2 + f.TextHeight / 4, slot.Name, length);
    }
}

static void DrawCLines(HDC dc, const ViewFrame& f, const RECT& clip, bool contrast)
{
    COLORREF line = GetSysColor(contrast ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    int32_t naming = Settings.PitchNames;
    SetTextColor(dc, text);
    SetBkMode(dc, TRANSPARENT);
    for (int32_t key = Piece.LowKey; key <= Piece.HighKey; ++key) {
        if (key % 12 != 0) continue;
        int32_t bottom = KeyTop(f, key - 1);
        Fill(dc, PixelRect{std::max<int32_t>(clip.left, NotesLeft(f)), bottom, clip.right, bottom + 1}, line);
        char label[CLabelSize];
        CLabel(key, naming, label);
        int32_t middle = (KeyTop(f, key) + bottom) / 2;
        TextOutA(dc, ScaleLength(4, f.Dpi), middle - f.TextHeight / 2, label, (int)std::strlen(label));
    }
}

static void DrawLegend(HDC dc, const ViewFrame& f, bool contrast)
{
    GdiFlush();  // the text drawn so far lies under what follows
    Fill(dc, PixelRect{0, RollBottom(f), f.Width, RollBottom(f) + 1}, GetSysColor(COLOR_GRAYTEXT));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    for (int32_t i = 0; i < Piece.VoicesShown; ++i) {
        int32_t voice = Piece.Voices[i];
        PixelRect r = LegendEntry(f, i);
        int32_t swatch = r.Bottom - r.Top;
        Fill(dc, PixelRect{r.Left, r.Top + 2, r.Left + swatch, r.Bottom - 2}, VoiceColour(voice, contrast));
        char text[8 + ProgramNameSize];
        std::snprintf(text, sizeof text, "%d %s", (int)voice + 1,
                      voice == PercussionVoice ? "Percussion" : ProgramNameTable[Piece.Programs[voice] & 127]);
        RECT box{r.Left + swatch + swatch / 2, r.Top, r.Right, r.Bottom};
        DrawTextA(dc, text, -1, &box, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void DrawPieceView(HDC dc, const PiecePixels& pixels, const ViewFrame& f, const RECT& clip, double cursor, HFONT font)
{
    const bool contrast = HighContrast();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    AimAt(pixels, clip);
    HGDIOBJ oldFont = SelectObject(dc, font);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    Fill(dc, PixelRect{clip.left, clip.top, clip.right, clip.bottom}, window);
    DrawNotes(dc, f, clip, contrast);
    // the labels' column hides what is scrolled off to the left
    Fill(dc, PixelRect{0, 0, NotesLeft(f), RollBottom(f)}, window);
    DrawCLines(dc, f, clip, contrast);
    MeasureNames(dc, font);
    DrawSlotMarks(dc, f, clip, contrast);
    if (cursor >= 0 && CursorInSight(f, cursor)) {
        GdiFlush();
        int32_t x = TickToX(f, cursor);
        Fill(dc, PixelRect{x, RollTop(f) - f.TextHeight / 2, x + CursorWidth(f), RollBottom(f)},
             GetSysColor(COLOR_WINDOWTEXT));
    }
    DrawLegend(dc, f, contrast);
    SelectObject(dc, oldFont);
    GdiFlush();
    RestoreDC(dc, saved);
}

// ---- The window

static void UpdateScrollBar()
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMax = ScrollLimit(Frame) + VisibleWidth(Frame) - 1;
    info.nPage = (UINT)VisibleWidth(Frame);
    info.nPos = Frame.ScrollX;
    SetScrollInfo(PieceView, SB_HORZ, &info, TRUE);
}

// The screen reader's name for the view: what the piece is, at the tempo it plays.
static void NameForScreenReaders()
{
    char summary[SummarySize], now[SummarySize];
    PieceSummary(CurrentTempo(), summary);
    GetWindowTextA(PieceView, now, sizeof now);
    if (std::strcmp(summary, now) != 0) SetWindowTextA(PieceView, summary);
}

static void Redraw()
{
    UpdateScrollBar();
    InvalidateRect(PieceView, nullptr, FALSE);
}

// After the user moved the view: the cursor is followed while it stays in sight.
static void Moved()
{
    if (LastCursor >= 0) FollowCursor = CursorInSight(Frame, LastCursor);
    Redraw();
}

static void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!Buffer || BufferWidth < Frame.Width || BufferHeight < Frame.Height) {
        if (Buffer) DeleteDC(Buffer), DeleteObject(BufferBitmap);
        BufferWidth = std::max<int>(Frame.Width, 1), BufferHeight = std::max<int>(Frame.Height, 1);
        Buffer = CreateCompatibleDC(dc);
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), BufferWidth, -BufferHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits;
        BufferBitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        BufferPixels = PiecePixels{BufferBitmap ? (uint32_t*)bits : nullptr, BufferWidth, BufferHeight};
        SelectObject(Buffer, BufferBitmap);
    }
    const RECT& clip = paint.rcPaint;
    DrawPieceView(Buffer, BufferPixels, Frame, clip, LastCursor, ViewFont);
    if (GetFocus() == window) {
        RECT whole{0, 0, Frame.Width, Frame.Height};
        SetTextColor(Buffer, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(Buffer, GetSysColor(COLOR_WINDOW));
        DrawFocusRect(Buffer, &whole);
    }
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, Buffer, clip.left, clip.top,
           SRCCOPY);
    EndPaint(window, &paint);
    NameForScreenReaders();
}

static void TakeSize(int width, int height)
{
    bool fitted = Frame.PixelsPerTick <= FitScale(Frame) * 1.000001;
    Frame.Width = std::max(width, 1);
    Frame.Height = std::max(height, 1);
    if (fitted) FitToWidth(&Frame);
    Frame.PixelsPerTick = std::clamp(Frame.PixelsPerTick, FitScale(Frame), LargestScale(Frame));
    ScrollTo(&Frame, Frame.ScrollX);
    Redraw();
}

static void MakeFont()
{
    HFONT old = ViewFont;
    ViewFont = CreateMessageFont(MainWindowDpi);
    if (old) DeleteObject(old);
    Frame.TextHeight = MeasureFont(PieceView, ViewFont).tmHeight;
    Frame.Dpi = (int32_t)MainWindowDpi;
}

static void MoveCursor()
{
    PiecePosition position = ReadPiecePosition();
    double cursor = CursorTick(position, ClockMilliseconds());
    if (FollowCursor && BringCursorIntoSight(&Frame, cursor)) {
        LastCursor = cursor;
        Redraw();
    } else if (cursor != LastCursor) {
        PixelRect strip = CursorStrip(Frame, LastCursor < 0 ? cursor : LastCursor, cursor);
        RECT rect{strip.Left, strip.Top, strip.Right, strip.Bottom};
        LastCursor = cursor;
        InvalidateRect(PieceView, &rect, FALSE);
    }
    if (!position.Playing) KillTimer(PieceView, CursorTimer);
}

static void Scroll(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case SB_LINELEFT: ApplyViewKey(&Frame, KeyLineLeft); break;
    case SB_LINERIGHT: ApplyViewKey(&Frame, KeyLineRight); break;
    case SB_PAGELEFT: ApplyViewKey(&Frame, KeyPageLeft); break;
    case SB_PAGERIGHT: ApplyViewKey(&Frame, KeyPageRight); break;
    case SB_LEFT: ApplyViewKey(&Frame, KeyStart); break;
    case SB_RIGHT: ApplyViewKey(&Frame, KeyEnd); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(PieceView, SB_HORZ, &info);
        ScrollTo(&Frame, info.nTrackPos);
        break;
    }
    default: return;
    }
    Moved();
}

static bool Key(WPARAM key)
{
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    ViewKey action;
    if (ctrl && (key == VK_OEM_PLUS || key == VK_ADD)) action = KeyZoomIn;
    else if (ctrl && (key == VK_OEM_MINUS || key == VK_SUBTRACT)) action = KeyZoomOut;
    else if (ctrl && (key == '0' || key == VK_NUMPAD0)) action = KeyFit;
    else if (key == VK_LEFT) action = KeyLineLeft;
    else if (key == VK_RIGHT) action = KeyLineRight;
    else if (key == VK_PRIOR) action = KeyPageLeft;
    else if (key == VK_NEXT) action = KeyPageRight;
    else if (key == VK_HOME) action = KeyStart;
    else if (key == VK_END) action = KeyEnd;
    else return false;
    ApplyViewKey(&Frame, action);
    Moved();
    return true;
}

static void Wheel(WPARAM wParam, LPARAM lParam)
{
    POINT at{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ScreenToClient(PieceView, &at);
    ApplyWheel(&Frame, (short)HIWORD(wParam), (LOWORD(wParam) & MK_CONTROL) != 0, at.x);
    Moved();
}

static LRESULT CALLBACK PieceViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_ERASEBKGND: return 1;  // the picture covers all of it
    case WM_SIZE: TakeSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_HSCROLL: Scroll(wParam); return 0;
    case WM_KEYDOWN:
        if (Key(wParam)) return 0;
        break;
    case WM_MOUSEWHEEL: Wheel(wParam, lParam); return 0;
    case WM_LBUTTONDOWN: SetFocus(window); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_TIMER:
        if (wParam == CursorTimer) MoveCursor();
        return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CreatePieceView(HWND mainWindow)
{
    WNDCLASSA viewClass = {};
    viewClass.lpfnWndProc = PieceViewProc;
    viewClass.hInstance = AppInstance;
    viewClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    viewClass.lpszClassName = ViewClass;
    RegisterClassA(&viewClass);
    PieceView = CreateWindowExA(0, ViewClass, "Piece", WS_CHILD | WS_HSCROLL | WS_TABSTOP, 0, 0, 1, 1, mainWindow,
                                (HMENU)(INT_PTR)IDC_PIECEVIEW, AppInstance, nullptr);
    MakeFont();
}

void PlacePieceView()
{
    if (!PieceView) return;
    if (Frame.Dpi != (int32_t)MainWindowDpi) MakeFont();
    RECT client, toolbar;
    GetClientRect(MainWindow, &client);
    GetClientRect(MainToolbar, &toolbar);
    int top = toolbar.bottom + LineHeight * (1 + StatusLineCount) + LineHeight / 2;
    MoveWindow(PieceView, 0, top, client.right, std::max<int>(client.bottom - top, 1), TRUE);
    InvalidateRect(PieceView, nullptr, FALSE);
}

void ShowComposedPiece()
{
    TakePieceSnapshot();
    ForgetPiecePosition();
    LastCursor = -1;
    FollowCursor = false;
    PlacePieceView();
    FitToWidth(&Frame);
    NameForScreenReaders();
    Redraw();
    ShowWindow(PieceView, SW_SHOW);
    SetFocus(PieceView);
}

void FollowPiecePlayback()
{
    FollowCursor = true;
    LastCursor = CursorTick(ReadPiecePosition(), ClockMilliseconds());
    BringCursorIntoSight(&Frame, LastCursor);
    Redraw();
    SetTimer(PieceView, CursorTimer, CursorTimerPeriod, nullptr);
}

void FocusPieceView()
{
    if (PieceView && IsWindowVisible(PieceView)) SetFocus(PieceView);
}

bool PieceViewTakesWheel(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_MOUSEWHEEL || !PieceView || !IsWindowVisible(PieceView)) return false;
    Wheel(wParam, lParam);
    return true;
}
