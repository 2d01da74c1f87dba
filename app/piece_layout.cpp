#include "app/piece_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/compose.h"
#include "engine/matrices.h"
#include "events/events.h"
#include "settings/pitch_names.h"

PieceSnapshot Piece;

// Okabe and Ito's seven colours (their black left out: it is the cursor's),
// then Paul Tol's "muted" scheme and his purple: both made to stay apart for
// the commoner colour-blindness, and a legend names each voice besides.
const uint32_t VoiceColours[VoiceCount] = {
    0xE69F00, 0x56B4E9, 0x009E73, 0xF0E442, 0x0072B2, 0xD55E00, 0xCC79A7, 0x332288,
    0x88CCEE, 0x44AA99, 0x117733, 0x999933, 0xDDCC77, 0xCC6677, 0x882255, 0xAA4499,
};

enum {
    LabelColumn = 44,   // at 96 DPI
    Margin = 6,
    LegendEntryWidth = 190,
    CursorPixels = 2,
    MinimumKeySpan = 13,  // an octave and the C above it, however narrow the piece
    WheelNotch = 120,
    WheelLines = 3
};

// ---- The snapshot

static void AddSlotMark(int32_t voice, int32_t slot, int32_t start, int32_t topKey)
{
    const VoiceTrack& track = VoiceTracks[voice];
    ViewSlot& mark = Piece.Slots[Piece.SlotMarkCount++];
    mark.Start = start;
    mark.Voice = voice;
    mark.TopKey = topKey;
    mark.Silent = track.FormFlags[slot] != 1;
    char name[FormNameSize];
    NameForm(track.FormOrder[slot], ToneMatrix, name);
    std::snprintf(mark.Name, sizeof mark.Name, mark.Silent ? "(%s)" : "%s", name);
}

// A voice's list holds its program change, then per note a start at delta 0
// and its end after the note's length; twelve notes make a slot.
static void TakeVoice(int32_t voice)
{
    EventList* list = &VoiceTracks[voice].Events;
    int32_t tick = 0, notes = 0, slotStart = 0, slotTop = 0;
    for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next) {
        tick += e->Delta;
        if (e->Kind != NoteMessage || IsEnd(list, e->Next)) continue;
        Event* end = e->Next;
        if (notes % RowLength == 0) slotStart = tick, slotTop = 0;
        int32_t slot = notes / RowLength;
        ViewNote& note = Piece.Notes[Piece.NoteCount++];
        note = ViewNote{tick, end->Delta, e->Data[0], voice, VoiceTracks[voice].FormFlags[slot] != 1};
        slotTop = std::max(slotTop, note.Key);
        tick += end->Delta;
        e = end;
        if (++notes % RowLength == 0 || IsEnd(list, e->Next)) AddSlotMark(voice, slot, slotStart, slotTop);
        Piece.Length = std::max(Piece.Length, tick);
        if (Piece.NoteCount == MaxViewNotes) break;
    }
}

void TakePieceSnapshot()
{
    Piece.Composed = true;
    ++Piece.Generation;
    Piece.NoteCount = Piece.SlotMarkCount = Piece.Length = Piece.VoicesShown = 0;
    Piece.SlotsPerVoice = SlotCount;
    for (int32_t v = 0; v < VoiceCount; ++v) {
        Piece.Programs[v] = VoiceTracks[v].Program;
        if (!VoiceTracks[v].Active) continue;
        Piece.Voices[Piece.VoicesShown++] = v;
        TakeVoice(v);
    }
    int32_t low = 127, high = 0;
    for (int32_t i = 0; i < Piece.NoteCount; ++i) {
        low = std::min(low, Piece.Notes[i].Key);
        high = std::max(high, Piece.Notes[i].Key);
    }
    if (low > high) low = high = 60;
    low -= KeyRoom, high += KeyRoom;
    while (high - low + 1 < MinimumKeySpan) --low, ++high;
    Piece.LowKey = std::max(0, low);
    Piece.HighKey = std::min(127, high);
}

// ---- Where things lie

int32_t ScaleLength(int32_t length, int32_t dpi)
{
    return (length * dpi + 48) / 96;
}

int32_t LabelColumnWidth(const ViewFrame& f)
{
    return ScaleLength(LabelColumn, f.Dpi);
}

int32_t NotesLeft(const ViewFrame& f)
{
    return LabelColumnWidth(f) + ScaleLength(Margin, f.Dpi);
}

int32_t VisibleWidth(const ViewFrame& f)
{
    return std::max(1, f.Width - NotesLeft(f) - ScaleLength(Margin, f.Dpi));
}

static int32_t LegendColumns(const ViewFrame& f)
{
    return std::max(1, (f.Width - ScaleLength(Margin, f.Dpi)) / ScaleLength(LegendEntryWidth, f.Dpi));
}

int32_t LegendHeight(const ViewFrame& f)
{
    int32_t columns = LegendColumns(f);
    int32_t rows = (Piece.VoicesShown + columns - 1) / columns;
    return rows * (f.TextHeight + ScaleLength(2, f.Dpi)) + ScaleLength(Margin, f.Dpi);
}

int32_t RollTop(const ViewFrame& f)
{
    // room for a slot's name above the highest note
    return f.TextHeight + ScaleLength(Margin, f.Dpi);
}

int32_t RollBottom(const ViewFrame& f)
{
    return std::max(RollTop(f) + 1, f.Height - LegendHeight(f));
}

PixelRect LegendEntry(const ViewFrame& f, int32_t i)
{
    int32_t columns = LegendColumns(f);
    int32_t width = ScaleLength(LegendEntryWidth, f.Dpi);
    int32_t left = ScaleLength(Margin, f.Dpi) + (i % columns) * width;
    int32_t top = RollBottom(f) + ScaleLength(Margin, f.Dpi) + (i / columns) * (f.TextHeight + ScaleLength(2, f.Dpi));
    return PixelRect{left, top, left + width - ScaleLength(Margin, f.Dpi), top + f.TextHeight};
}

int32_t TickToX(const ViewFrame& f, double tick)
{
    return NotesLeft(f) + (int32_t)std::lround(tick * f.PixelsPerTick) - f.ScrollX;
}

double XToTick(const ViewFrame& f, int32_t x)
{
    return (x - NotesLeft(f) + f.ScrollX) / f.PixelsPerTick;
}

int32_t KeyTop(const ViewFrame& f, int32_t key)
{
    int64_t rows = Piece.HighKey - Piece.LowKey + 1;
    int64_t height = RollBottom(f) - RollTop(f);
    return RollTop(f) + (int32_t)((Piece.HighKey - key) * height / rows);
}

RollMetrics MeasureRoll(const ViewFrame& f)
{
    return RollMetrics{NotesLeft(f) - f.ScrollX, f.PixelsPerTick, RollTop(f), RollBottom(f) - RollTop(f),
                       Piece.HighKey - Piece.LowKey + 1};
}

PixelRect NoteRect(const ViewFrame& f, const ViewNote& note)
{
    return PlaceNote(MeasureRoll(f), note);
}

PixelRect PlaceNote(const RollMetrics& m, const ViewNote& note)
{
    PixelRect r{m.Left + (int32_t)std::lround(note.Start * m.Scale), m.Top + (int32_t)((Piece.HighKey - note.Key) * m.Height / m.Rows),
                m.Left + (int32_t)std::lround((note.Start + note.Length) * m.Scale),
                m.Top + (int32_t)((Piece.HighKey - note.Key + 1) * m.Height / m.Rows)};
    r.Right = std::max(r.Right - 1, r.Left + 1);  // a gap between notes that follow one another
    r.Bottom = std::max(r.Bottom, r.Top + 1);
    return r;
}

bool ShowsAcross(const ViewFrame& f, const PixelRect& r, int32_t left, int32_t right)
{
    left = std::max(left, NotesLeft(f));
    return r.Right > left && r.Left < right;
}

void CLabel(int32_t key, int32_t naming, char* text)
{
    if (naming == PitchNumbers)
        std::snprintf(text, CLabelSize, "%d", (int)key);
    else
        std::snprintf(text, CLabelSize, "%s%d", PitchClassName(key, naming), (int)(key / 12 - 1));
}

// ---- Scale and scroll

double FitScale(const ViewFrame& f)
{
    return (double)VisibleWidth(f) / std::max<int32_t>(Piece.Length, 1);
}

// A 64th note (24 ticks) at most 24 pixels wide at 96 DPI.
double LargestScale(const ViewFrame& f)
{
    return std::max(FitScale(f), f.Dpi / 96.0);
}

int32_t ScrollLimit(const ViewFrame& f)
{
    int64_t content = (int64_t)std::lround(Piece.Length * f.PixelsPerTick);
    return (int32_t)std::max<int64_t>(0, content - VisibleWidth(f));
}

void ScrollTo(ViewFrame* f, int64_t x)
{
    f->ScrollX = (int32_t)std::clamp<int64_t>(x, 0, ScrollLimit(*f));
}

void FitToWidth(ViewFrame* f)
{
    f->PixelsPerTick = FitScale(*f);
    f->ScrollX = 0;
}

void ZoomAt(ViewFrame* f, double factor, int32_t anchorX)
{
    double tick = XToTick(*f, anchorX);
    f->PixelsPerTick = std::clamp(f->PixelsPerTick * factor, FitScale(*f), LargestScale(*f));
    ScrollTo(f, NotesLeft(*f) + std::llround(tick * f->PixelsPerTick) - anchorX);
}

int32_t LineStep(const ViewFrame& f)
{
    return std::max(1, VisibleWidth(f) / 10);
}

int32_t PageStep(const ViewFrame& f)
{
    return std::max(1, VisibleWidth(f) * 9 / 10);
}

static const double ZoomStep = 1.25;

void ApplyViewKey(ViewFrame* f, ViewKey key)
{
    int32_t middle = NotesLeft(*f) + VisibleWidth(*f) / 2;
    switch (key) {
    case KeyLineLeft: ScrollTo(f, (int64_t)f->ScrollX - LineStep(*f)); break;
    case KeyLineRight: ScrollTo(f, (int64_t)f->ScrollX + LineStep(*f)); break;
    case KeyPageLeft: ScrollTo(f, (int64_t)f->ScrollX - PageStep(*f)); break;
    case KeyPageRight: ScrollTo(f, (int64_t)f->ScrollX + PageStep(*f)); break;
    case KeyStart: ScrollTo(f, 0); break;
    case KeyEnd: ScrollTo(f, ScrollLimit(*f)); break;
    case KeyZoomIn: ZoomAt(f, ZoomStep, middle); break;
    case KeyZoomOut: ZoomAt(f, 1 / ZoomStep, middle); break;
    case KeyFit: FitToWidth(f); break;
    }
}

void ApplyWheel(ViewFrame* f, int32_t delta, bool ctrl, int32_t anchorX)
{
    if (ctrl)
        ZoomAt(f, std::pow(ZoomStep, (double)delta / WheelNotch), anchorX);
    else
        ScrollTo(f, (int64_t)f->ScrollX - (int64_t)delta * WheelLines * LineStep(*f) / WheelNotch / 2);
}

// ---- The cursor

double CursorTick(const PiecePosition& p, uint32_t now)
{
    if (!p.Known) return -1;
    uint32_t until = p.Playing ? now : p.StoppedAt;
    int32_t elapsed = std::max<int32_t>(0, (int32_t)(until - p.SentAt));
    double tick = p.Tick + elapsed * (p.Tempo * (double)TicksPerQuarter / 60000.0);
    return std::min(tick, (double)std::max(p.Tick, p.NextTick));
}

int32_t CursorWidth(const ViewFrame& f)
{
    return ScaleLength(CursorPixels, f.Dpi);
}

PixelRect CursorStrip(const ViewFrame& f, double from, double to)
{
    int32_t a = TickToX(f, std::min(from, to)), b = TickToX(f, std::max(from, to));
    return PixelRect{a - 1, 0, b + CursorWidth(f) + 1, f.Height};
}

bool CursorInSight(const ViewFrame& f, double tick)
{
    int32_t x = TickToX(f, tick);
    return x >= NotesLeft(f) && x + CursorWidth(f) <= NotesLeft(f) + VisibleWidth(f);
}

bool BringCursorIntoSight(ViewFrame* f, double tick)
{
    if (tick < 0 || CursorInSight(*f, tick)) return false;
    int32_t before = f->ScrollX;
    ScrollTo(f, std::llround(tick * f->PixelsPerTick) - VisibleWidth(*f) / 10);
    return f->ScrollX != before;
}

// ---- What a screen reader says

static const char* Plural(int32_t n)
{
    return n == 1 ? "" : "s";
}

void PieceSummary(int32_t tempo, char* text)
{
    int32_t seconds = (int32_t)std::lround(Piece.Length * 60.0 / (std::max(tempo, 1) * (double)TicksPerQuarter));
    int32_t minutes = seconds / 60;
    seconds %= 60;
    char time[48];
    if (minutes > 0 && seconds > 0)
        std::snprintf(time, sizeof time, "%d minute%s %d second%s", (int)minutes, Plural(minutes), (int)seconds,
                      Plural(seconds));
    else if (minutes > 0)
        std::snprintf(time, sizeof time, "%d minute%s", (int)minutes, Plural(minutes));
    else
        std::snprintf(time, sizeof time, "%d second%s", (int)seconds, Plural(seconds));
    std::snprintf(text, SummarySize, "Piece: %d voice%s, %d slot%s each, %s at %d", (int)Piece.VoicesShown,
                  Plural(Piece.VoicesShown), (int)Piece.SlotsPerVoice, Plural(Piece.SlotsPerVoice), time, (int)tempo);
}
