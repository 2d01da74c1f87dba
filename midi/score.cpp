#include "midi/score.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

#include "app/report_error.h"
#include "engine/compose.h"
#include "engine/form_names.h"
#include "engine/matrices.h"
#include "events/events.h"
#include "midi/file_write.h"
#include "settings/pitch_names.h"
#include "settings/program_names.h"
#include "settings/settings.h"

std::string ScoreText;

enum {
    BeatTicks = TicksPerQuarter,
    BeatsPerMeasure = 4,
    MeasureTicks = BeatsPerMeasure * BeatTicks,
    TicksPerDivision = TicksPerQuarter / 96,
    PlainGrid = 12,  // a 1/128: a beat whose cut points all lie on it needs no bracket
    PercussionVoice = 9,
    MaxSpans = FormCount * RowLength + 1,  // every note of a voice and the rest that ends it
    MaxBeatPieces = BeatTicks / TicksPerDivision,
    MaxBeatAtoms = 4 * MaxBeatPieces,
    NoKey = -1
};

// One note or rest of a voice, as long as the MIDI file holds it.
struct Span {
    int32_t Start;
    int32_t Length;
    int32_t Key;   // NoKey: a rest
    int32_t Velocity;
    int32_t Slot;  // the slot this span begins, else -1
};

// The part of a span inside one beat (or over several whole beats).
struct Piece {
    int32_t Span;
    int32_t Start;
    int32_t Length;
};

// A written value, with its place among the notated values.
struct NoteValue {
    int32_t Ticks;  // as written, before a bracket shortens it
    const char* Type;
    int32_t Dots;
    int32_t Beams;
};

// Largest first: a length takes the largest value that fits, then the rest.
static const NoteValue Values[] = {
    {1536, "whole", 0, 0}, {1152, "half", 1, 0},  {768, "half", 0, 0},  {576, "quarter", 1, 0},
    {384, "quarter", 0, 0}, {288, "eighth", 1, 1}, {192, "eighth", 0, 1}, {144, "16th", 1, 2},
    {96, "16th", 0, 2},     {72, "32nd", 1, 3},    {48, "32nd", 0, 3},    {36, "64th", 1, 4},
    {24, "64th", 0, 4},     {18, "128th", 1, 5},   {12, "128th", 0, 5},   {6, "256th", 0, 6},
};
enum { ValueCount = sizeof Values / sizeof Values[0] };

// One written note or rest: a piece, or one of the tied values a piece needs.
struct Atom {
    int32_t Span;
    int32_t Value;      // index into Values
    int32_t Divisions;  // what it lasts
    bool TieStop;
    bool TieStart;
    bool SlotStart;     // the form's name stands above it
    int32_t BeamRun;    // atoms of the same run share a beam; -1: none
};

static Span Spans[MaxSpans];
static int32_t SpanCount;
static int32_t SpanCursor;
static Piece Pieces[MaxBeatPieces];
static int32_t PieceCount;
static Atom Atoms[MaxBeatAtoms];
static int32_t AtomCount;

// ---- The voice's notes as the MIDI file holds them

static int32_t SpanEnd(const Span& s)
{
    return s.Start + s.Length;
}

static void AddSpan(int32_t start, int32_t length, int32_t key, int32_t velocity, int32_t slot)
{
    if (SpanCount == MaxSpans || length <= 0) return;
    Spans[SpanCount++] = {start, length, key, velocity, slot};
}

// Compose writes each note as its start and its end, twelve to a slot; a
// note of velocity 0 sounds nothing and is a rest.
static int32_t ReadVoiceSpans(EventList* list)
{
    SpanCount = 0;
    int32_t time = 0, note = 0;
    for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next) {
        if (e->Kind != NoteMessage || IsEnd(list, e->Next)) continue;
        Event* end = e->Next;
        int32_t velocity = e->Data[1];
        int32_t slot = note % RowLength == 0 ? note / RowLength : -1;
        AddSpan(time + e->Delta, end->Delta, velocity ? (int32_t)e->Data[0] : (int32_t)NoKey, velocity, slot);
        time += e->Delta + end->Delta;
        ++note;
        e = end;
    }
    return time;
}

// ---- Text

static void Text(const char* s)
{
    ScoreText += s;
}

// A string literal, its length known without counting.
template <size_t N>
static void Literal(const char (&s)[N])
{
    ScoreText.append(s, N - 1);
}

static void Number(int32_t n)
{
    char digits[12];
    int32_t count = 0;
    if (n < 0) {
        ScoreText += '-';
        n = -n;
    }
    do {
        digits[count++] = (char)('0' + n % 10);
        n /= 10;
    } while (n);
    while (count) ScoreText += digits[--count];
}

static void Escaped(const char* s)
{
    for (; *s; ++s) {
        switch (*s) {
        case '&': Literal("&amp;"); break;
        case '<': Literal("&lt;"); break;
        case '>': Literal("&gt;"); break;
        case '"': Literal("&quot;"); break;
        default: ScoreText += *s;
        }
    }
}

static void Element(const char* name, const char* value)
{
    ScoreText += '<';
    Text(name);
    ScoreText += '>';
    Escaped(value);
    Literal("</");
    Text(name);
    ScoreText += '>';
}

static void NumberElement(const char* name, int32_t value)
{
    char digits[12];
    std::snprintf(digits, sizeof digits, "%d", (int)value);
    Element(name, digits);
}

// ---- The score's head

static std::string PartName(int32_t voice)
{
    std::string name = "Voice " + std::to_string(voice + 1) + ": ";
    if (voice == PercussionVoice) return name + "percussion";
    return name + ProgramNameTable[VoiceTracks[voice].Program & 0x7F];
}

static void WriteScorePart(int32_t voice)
{
    std::string id = "P" + std::to_string(voice + 1);
    Literal("  <score-part id=\"");
    Text(id.c_str());
    Literal("\">\n    ");
    Element("part-name", PartName(voice).c_str());
    Literal("\n    <score-instrument id=\"");
    Text((id + "-I1").c_str());
    Literal("\">");
    Element("instrument-name", voice == PercussionVoice ? "percussion"
                                                        : ProgramNameTable[VoiceTracks[voice].Program & 0x7F]);
    Literal("</score-instrument>\n    <midi-instrument id=\"");
    Text((id + "-I1").c_str());
    Literal("\">");
    NumberElement("midi-channel", voice + 1);
    NumberElement("midi-program", (VoiceTracks[voice].Program & 0x7F) + 1);
    Literal("</midi-instrument>\n  </score-part>\n");
}

static void WriteHead(const char* title)
{
    Literal("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
         "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 3.1 Partwise//EN\" "
         "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
         "<score-partwise version=\"3.1\">\n<work>");
    Element("work-title", title);
    Literal("</work>\n<identification><encoding><software>Varnolt 1.00</software></encoding></identification>\n"
         "<part-list>\n");
    for (int v = 0; v < VoiceCount; ++v)
        if (VoiceTracks[v].Active == 1) WriteScorePart(v);
    Literal("</part-list>\n");
}

// ---- Measure furniture

// Middle C is octave 5: 3 and 4 lie in the bass clef, 5 and 6 in the treble
// clef, and the octaves beyond in the same clefs an octave or two away.
static void WriteClef(int32_t octave)
{
    static const char* const Clefs[] = {
        "<sign>F</sign><line>4</line><clef-octave-change>-2</clef-octave-change>",
        "<sign>F</sign><line>4</line><clef-octave-change>-1</clef-octave-change>",
        "<sign>F</sign><line>4</line>",
        "<sign>G</sign><line>2</line>",
        "<sign>G</sign><line>2</line><clef-octave-change>1</clef-octave-change>",
        "<sign>G</sign><line>2</line><clef-octave-change>2</clef-octave-change>",
    };
    int32_t clef = octave <= 1 ? 0 : octave == 2 ? 1 : octave <= 4 ? 2 : octave <= 6 ? 3 : octave == 7 ? 4 : 5;
    Literal("<clef>");
    Text(Clefs[clef]);
    Literal("</clef>");
}

// Notation has no octave below its C0, MIDI key 12: octave 0 is written an
// octave up and marked as sounding an octave down, as double basses are.
static int32_t WrittenShift(int32_t voice)
{
    return VoiceTracks[voice].Octave < 1 ? 12 : 0;
}

static void WriteAttributes(int32_t voice)
{
    Literal("<attributes><divisions>96</divisions><key><fifths>0</fifths></key>"
         "<time><beats>4</beats><beat-type>4</beat-type></time>");
    WriteClef(VoiceTracks[voice].Octave);
    if (WrittenShift(voice)) Literal("<transpose><chromatic>0</chromatic><octave-change>-1</octave-change></transpose>");
    Literal("</attributes>\n");
}

static void WriteTempo()
{
    int32_t tempo = CurrentTempo();
    Literal("<direction placement=\"above\"><direction-type><metronome><beat-unit>quarter</beat-unit>");
    NumberElement("per-minute", tempo);
    Literal("</metronome></direction-type><sound tempo=\"");
    Number(tempo);
    Literal("\"/></direction>\n");
}

// The form's name as the Forms dialog writes it; a silent slot's in parentheses.
static void WriteFormName(int32_t voice, int32_t slot)
{
    char name[FormNameSize];
    NameForm(VoiceTracks[voice].FormOrder[slot], ToneMatrix, name);
    bool silent = VoiceTracks[voice].FormFlags[slot] != 1;
    Literal("<direction placement=\"above\"><direction-type><words>");
    if (silent) ScoreText += '(';
    Text(name);
    if (silent) ScoreText += ')';
    Literal("</words></direction-type></direction>\n");
}

// ---- One written note

static void WritePitch(int32_t key)
{
    const char* name = PitchClassName(key, Settings.PitchNames == PitchFlats ? PitchFlats : PitchSharps);
    Literal("<pitch><step>");
    ScoreText += name[0];
    Literal("</step>");
    if (name[1]) Text(name[1] == '#' ? "<alter>1</alter>" : "<alter>-1</alter>");
    NumberElement("octave", key / 12 - 1);
    Literal("</pitch>");
}

// The velocity as a percentage of the forte of 90, to two places.
static void WriteDynamics(int32_t velocity)
{
    int32_t hundredths = (velocity * 10000 + 45) / 90;
    Literal(" dynamics=\"");
    Number(hundredths / 100);
    ScoreText += '.';
    ScoreText += (char)('0' + hundredths / 10 % 10);
    ScoreText += (char)('0' + hundredths % 10);
    ScoreText += '"';
}

static bool SameRun(int32_t i, int32_t j, int32_t level)
{
    if (j < 0 || j >= AtomCount || Atoms[j].BeamRun != Atoms[i].BeamRun) return false;
    return Values[Atoms[j].Value].Beams >= level;
}

static void WriteBeams(int32_t i)
{
    const Atom& a = Atoms[i];
    if (a.BeamRun < 0) return;
    for (int32_t level = 1; level <= Values[a.Value].Beams; ++level) {
        bool before = SameRun(i, i - 1, level), after = SameRun(i, i + 1, level);
        Literal("<beam number=\"");
        Number(level);
        Literal("\">");
        if (before && after) Literal("continue");
        else if (before) Literal("end");
        else if (after) Literal("begin");
        else Text(SameRun(i, i - 1, 1) ? "backward hook" : "forward hook");
        Literal("</beam>");
    }
}

static void WriteNotations(const Atom& a, bool tupletStart, bool tupletStop)
{
    if (!a.TieStop && !a.TieStart && !tupletStart && !tupletStop) return;
    Literal("<notations>");
    if (a.TieStop) Literal("<tied type=\"stop\"/>");
    if (a.TieStart) Literal("<tied type=\"start\"/>");
    if (tupletStart) Literal("<tuplet type=\"start\" bracket=\"yes\"/>");
    if (tupletStop) Literal("<tuplet type=\"stop\"/>");
    Literal("</notations>");
}

// The order inside <note> is the schema's: pitch or rest, duration, ties,
// voice, type, dots, accidental, time-modification, beams, notations.
static void WriteAtom(int32_t voice, int32_t i, bool triplet, bool tupletStart, bool tupletStop)
{
    const Atom& a = Atoms[i];
    const Span& s = Spans[a.Span];
    const NoteValue& value = Values[a.Value];
    bool rest = s.Key == NoKey;
    Literal("<note");
    if (!rest) WriteDynamics(s.Velocity);
    ScoreText += '>';
    if (rest) Text(value.Ticks == MeasureTicks ? "<rest measure=\"yes\"/>" : "<rest/>");
    else WritePitch(s.Key + WrittenShift(voice));
    NumberElement("duration", a.Divisions);
    if (a.TieStop) Literal("<tie type=\"stop\"/>");
    if (a.TieStart) Literal("<tie type=\"start\"/>");
    Literal("<voice>1</voice>");
    Element("type", value.Type);
    for (int32_t d = 0; d < value.Dots; ++d) Literal("<dot/>");
    const char* name = rest ? "" : PitchClassName(s.Key, Settings.PitchNames == PitchFlats ? PitchFlats : PitchSharps);
    if (!rest && name[1] && !a.TieStop) Text(name[1] == '#' ? "<accidental>sharp</accidental>" : "<accidental>flat</accidental>");
    if (triplet)
        Literal("<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes>"
             "<normal-type>eighth</normal-type></time-modification>");
    WriteBeams(i);
    WriteNotations(a, tupletStart, tupletStop);
    Literal("</note>\n");
}

// ---- Cutting a voice into beats

static int32_t LargestValue(int32_t ticks)
{
    int32_t v = 0;
    while (v < ValueCount - 1 && Values[v].Ticks > ticks) ++v;
    return v;
}

// A piece becomes one value, or tied values largest first; inside a bracket
// each is written at 3/2 of its length.
static void AddAtoms(const Piece& p, bool triplet)
{
    const Span& s = Spans[p.Span];
    bool note = s.Key != NoKey;
    int32_t shown = triplet ? p.Length * 3 / 2 : p.Length;
    bool first = true;
    while (shown > 0 && AtomCount < MaxBeatAtoms) {
        int32_t v = LargestValue(shown);
        shown -= Values[v].Ticks;
        Atom& a = Atoms[AtomCount++];
        a.Span = p.Span;
        a.Value = v;
        a.Divisions = Values[v].Ticks * (triplet ? 2 : 3) / 3 / TicksPerDivision;
        a.TieStop = note && (!first || p.Start > s.Start);
        a.TieStart = note && (shown > 0 || p.Start + p.Length < SpanEnd(s));
        a.SlotStart = first && p.Start == s.Start && s.Slot >= 0;
        a.BeamRun = -1;
        first = false;
    }
}

// Notes of a beat shorter than a quarter share beams; a rest breaks them,
// and a note alone has none.
static void FindBeamRuns()
{
    int32_t run = 0;
    for (int32_t i = 0; i < AtomCount; ++i) {
        bool beamed = Spans[Atoms[i].Span].Key != NoKey && Values[Atoms[i].Value].Beams > 0;
        Atoms[i].BeamRun = beamed ? run : -1;
        if (!beamed) ++run;
    }
    for (int32_t i = 0; i < AtomCount; ++i)
        if (Atoms[i].BeamRun >= 0 && !SameRun(i, i - 1, 1) && !SameRun(i, i + 1, 1)) Atoms[i].BeamRun = -1;
}

static void WriteAtoms(int32_t voice, bool triplet)
{
    FindBeamRuns();
    for (int32_t i = 0; i < AtomCount; ++i) {
        const Atom& a = Atoms[i];
        if (a.SlotStart) WriteFormName(voice, Spans[a.Span].Slot);
        WriteAtom(voice, i, triplet, triplet && i == 0, triplet && i == AtomCount - 1);
    }
}

static void GatherPieces(int32_t beatStart)
{
    PieceCount = 0;
    int32_t beatEnd = beatStart + BeatTicks;
    for (int32_t i = SpanCursor; i < SpanCount && Spans[i].Start < beatEnd; ++i) {
        int32_t start = std::max(Spans[i].Start, beatStart);
        int32_t end = std::min(SpanEnd(Spans[i]), beatEnd);
        if (end > start && PieceCount < MaxBeatPieces) Pieces[PieceCount++] = {i, start, end - start};
    }
}

// A beat whose cut points all lie on the plain grid is written plainly; any
// other is one 3:2 bracket, which no piece leaves.
static bool NeedsBracket(int32_t beatStart)
{
    for (int32_t i = 0; i < PieceCount; ++i)
        if ((Pieces[i].Start - beatStart) % PlainGrid != 0) return true;
    return false;
}

// Writes the beat at beatStart, or, where one span fills it and the beats
// after it in the measure, those beats as one value; returns how many beats.
static int32_t WriteBeats(int32_t voice, int32_t beatStart, int32_t beatsLeft)
{
    while (SpanCursor < SpanCount && SpanEnd(Spans[SpanCursor]) <= beatStart) ++SpanCursor;
    AtomCount = 0;
    if (SpanCursor < SpanCount) {
        int32_t whole = std::min((SpanEnd(Spans[SpanCursor]) - beatStart) / BeatTicks, beatsLeft);
        if (whole >= 2) {
            AddAtoms({SpanCursor, beatStart, whole * BeatTicks}, false);
            WriteAtoms(voice, false);
            return whole;
        }
    }
    GatherPieces(beatStart);
    bool triplet = NeedsBracket(beatStart);
    for (int32_t i = 0; i < PieceCount; ++i) AddAtoms(Pieces[i], triplet);
    WriteAtoms(voice, triplet);
    return 1;
}

static void WritePart(int32_t voice, int32_t measures, bool first)
{
    int32_t length = ReadVoiceSpans(&VoiceTracks[voice].Events);
    AddSpan(length, measures * MeasureTicks - length, NoKey, 0, -1);
    SpanCursor = 0;
    Literal("<part id=\"P");
    Number(voice + 1);
    Literal("\">\n");
    for (int32_t m = 0; m < measures; ++m) {
        Literal("<measure number=\"");
        Number(m + 1);
        Literal("\">\n");
        if (m == 0) WriteAttributes(voice);
        if (m == 0 && first) WriteTempo();
        for (int32_t beat = 0; beat < BeatsPerMeasure;)
            beat += WriteBeats(voice, m * MeasureTicks + beat * BeatTicks, BeatsPerMeasure - beat);
        if (m == measures - 1) Literal("<barline location=\"right\"><bar-style>light-heavy</bar-style></barline>\n");
        Literal("</measure>\n");
    }
    Literal("</part>\n");
}

// Every part has as many measures as the longest voice needs.
static int32_t CountMeasures()
{
    int32_t longest = 0;
    for (int v = 0; v < VoiceCount; ++v)
        if (VoiceTracks[v].Active == 1) longest = std::max(longest, ReadVoiceSpans(&VoiceTracks[v].Events));
    return std::max(1, (longest + MeasureTicks - 1) / MeasureTicks);
}

// Room for the whole text at once: a note with its ties and beams rarely
// takes more than this.
static size_t ScoreSizeGuess()
{
    size_t events = 0;
    for (int v = 0; v < VoiceCount; ++v)
        if (VoiceTracks[v].Active == 1) events += (size_t)CountEvents(&VoiceTracks[v].Events);
    return 4096 + events * 750;
}

void BuildScoreText(const char* title)
{
    ScoreText.clear();
    ScoreText.reserve(ScoreSizeGuess());
    WriteHead(title);
    int32_t measures = CountMeasures();
    bool first = true;
    for (int v = 0; v < VoiceCount; ++v) {
        if (VoiceTracks[v].Active != 1) continue;
        WritePart(v, measures, first);
        first = false;
    }
    Literal("</score-partwise>\n");
}

std::string ScoreTitle(const char* fileName)
{
    std::string name = fileName;
    size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

bool PieceHasAScore()
{
    for (const VoiceTrack& track : VoiceTracks)
        if (track.Active) return true;
    ReportError("ERROR: The piece has no voice, so it has no score; nothing was written");
    return false;
}

bool WriteScoreFile(const char* name)
{
    static WriteFailure failure;
    if (!PieceHasAScore()) return false;
    BuildScoreText(ScoreTitle(name).c_str());
    if (WriteWholeFile(name, (const uint8_t*)ScoreText.data(), (uint32_t)ScoreText.size(), &failure)) return true;
    ReportWriteFailure(name, failure);
    return false;
}
