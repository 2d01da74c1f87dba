// The piece view's drawing plan: the last composed piece as a piano roll,
// time running right and pitch up. Everything here is plain arithmetic on a
// copy of the piece taken at Compose; the window only draws what it says.
#pragma once
#include <cstdint>

#include "engine/form_names.h"
#include "midi/playback.h"
#include "settings/settings.h"

enum {
    MaxViewNotes = VoiceCount * FormCount * RowLength,
    MaxViewSlots = VoiceCount * FormCount,
    SlotNameSize = FormNameSize + 2,  // a silent slot's name in brackets
    KeyRoom = 2,                      // semitones left free above and below the piece
    SummarySize = 120,
    CLabelSize = 12
};

struct ViewNote {
    int32_t Start;   // ticks from the start of the piece
    int32_t Length;  // ticks
    int32_t Key;     // MIDI key number
    int32_t Voice;   // 0..15
    bool Silent;     // of a slot that keeps silent
};

struct ViewSlot {
    int32_t Start;  // ticks
    int32_t Voice;
    int32_t TopKey;  // the highest key of its notes: the mark stands above it
    bool Silent;
    char Name[SlotNameSize];  // "I-3", or "(I-3)" when silent
};

// The piece as the view shows it, taken at Compose.
struct PieceSnapshot {
    bool Composed;
    int32_t Generation;  // counts the snapshots taken
    int32_t NoteCount;
    ViewNote Notes[MaxViewNotes];
    int32_t SlotMarkCount;
    ViewSlot Slots[MaxViewSlots];
    int32_t Length;   // ticks, to the end of the last note
    int32_t LowKey;   // the range shown, room included
    int32_t HighKey;
    int32_t VoicesShown;              // active voices
    int32_t Voices[VoiceCount];       // their indices, lowest first
    int32_t Programs[VoiceCount];     // per voice index
    int32_t SlotsPerVoice;
};

extern PieceSnapshot Piece;

// Copies the voice lists, their form orders and flags and the matrix's form
// names, as the last Compose left them.
void TakePieceSnapshot();

// Where the view is looking: its size and DPI, the scale and the scroll.
struct ViewFrame {
    int32_t Width;   // of the view's client area, pixels
    int32_t Height;  // above the scroll bar
    int32_t Dpi;
    int32_t TextHeight;  // a line of the view's font
    double PixelsPerTick;
    int32_t ScrollX;     // pixels of the piece scrolled off to the left
};

struct PixelRect {
    int32_t Left, Top, Right, Bottom;
};

int32_t ScaleLength(int32_t length, int32_t dpi);  // designed at 96 DPI

int32_t LabelColumnWidth(const ViewFrame& f);  // the C labels' column at the left
int32_t NotesLeft(const ViewFrame& f);          // x of tick 0 when not scrolled
int32_t VisibleWidth(const ViewFrame& f);       // of the notes' part
int32_t LegendHeight(const ViewFrame& f);
int32_t RollTop(const ViewFrame& f);
int32_t RollBottom(const ViewFrame& f);  // the legend lies below it

int32_t TickToX(const ViewFrame& f, double tick);
double XToTick(const ViewFrame& f, int32_t x);
int32_t KeyTop(const ViewFrame& f, int32_t key);  // top edge of the key's row
PixelRect NoteRect(const ViewFrame& f, const ViewNote& note);

// The same for many notes at once: what every note's place needs, worked
// out once a frame.
struct RollMetrics {
    int32_t Left;    // x of tick 0
    double Scale;    // pixels per tick
    int32_t Top;
    int64_t Height;
    int64_t Rows;
};
RollMetrics MeasureRoll(const ViewFrame& f);
PixelRect PlaceNote(const RollMetrics& m, const ViewNote& note);
// Whether any of the rectangle lies in [left, right) of the notes' part.
bool ShowsAcross(const ViewFrame& f, const PixelRect& r, int32_t left, int32_t right);

// The legend's entry i (in the order of Piece.Voices): its swatch and text.
PixelRect LegendEntry(const ViewFrame& f, int32_t i);

// "C4" with note names, the key number "60" with numbers.
void CLabel(int32_t key, int32_t naming, char* text);

// Sixteen voice colours, 0xRRGGBB.
extern const uint32_t VoiceColours[VoiceCount];

// ---- Scale and scroll
double FitScale(const ViewFrame& f);
double LargestScale(const ViewFrame& f);
int32_t ScrollLimit(const ViewFrame& f);
void ScrollTo(ViewFrame* f, int64_t x);  // kept within 0..ScrollLimit
void FitToWidth(ViewFrame* f);
// Scales by factor, the tick under anchorX staying where it is.
void ZoomAt(ViewFrame* f, double factor, int32_t anchorX);

enum ViewKey { KeyLineLeft, KeyLineRight, KeyPageLeft, KeyPageRight, KeyStart, KeyEnd, KeyZoomIn, KeyZoomOut, KeyFit };
void ApplyViewKey(ViewFrame* f, ViewKey key);
// A wheel turned by delta (120 a notch, forward positive): with Ctrl it
// zooms about anchorX, without it scrolls, forward to the left.
void ApplyWheel(ViewFrame* f, int32_t delta, bool ctrl, int32_t anchorX);
int32_t LineStep(const ViewFrame& f);
int32_t PageStep(const ViewFrame& f);

// ---- The cursor
// The tick the music has reached at now: from the Event last sent, moving on
// at the tempo until the next Event's tick, or until it stopped. -1 when the
// piece has not been played.
double CursorTick(const PiecePosition& p, uint32_t now);
int32_t CursorWidth(const ViewFrame& f);
// The columns to draw again when the cursor moves from one tick to another.
PixelRect CursorStrip(const ViewFrame& f, double from, double to);
// Scrolls so that the cursor stands near the left edge when it has left the
// visible part; true when it scrolled.
bool BringCursorIntoSight(ViewFrame* f, double tick);
bool CursorInSight(const ViewFrame& f, double tick);

// "Piece: 3 voices, 4 slots each, 2 minutes 35 seconds at 120".
void PieceSummary(int32_t tempo, char* text);
