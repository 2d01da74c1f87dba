#include "dialogs/forms_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "settings/pitch_names.h"
#include "settings/program_names.h"
#include "engine/compose.h"
#include "engine/row_analysis.h"
#include "events/events.h"

enum { PercussionVoice = 9, LineWidth = 64 };  // the analysis's lines, narrower than the matrix

struct TextBuffer {
    char* Text;
    int32_t Size;
    int32_t Length;
};

// A pitch class as the composer chose to read them: a number or a note name.
static const char* Pitch(int32_t pitchClass)
{
    return PitchClassName(pitchClass, Settings.PitchNames);
}

// Appends to the text; what does not fit is left out, and the text always
// ends in a zero. Returns the characters appended.
static int32_t Put(TextBuffer* out, const char* format, ...)
{
    if (out->Length >= out->Size - 1) return 0;
    int32_t before = out->Length;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(out->Text + out->Length, out->Size - out->Length, format, args);
    va_end(args);
    if (written < 0) return 0;
    out->Length += written;
    if (out->Length > out->Size - 1) out->Length = out->Size - 1;
    return out->Length - before;
}

void LabelForm(int32_t formIndex, const Matrix m, char* label)
{
    char name[FormNameSize];
    NameForm(formIndex, m, name);
    int32_t twins = 0;
    for (int f = 0; f < FormCount; ++f) {
        char other[FormNameSize];
        NameForm(f, m, other);
        twins += std::strcmp(name, other) == 0;
    }
    bool column = formIndex / 12 % 2 == 1;
    if (twins == 1)
        std::snprintf(label, FormLabelSize, "%s", name);
    else
        std::snprintf(label, FormLabelSize, "%s %s %d", name, column ? "column" : "row", (int)(formIndex % 12));
}

// The matrix with P-n at the left of each row and R-n at its right, I-n above
// each column and RI-n below it; every entry and label right-aligned.
static void PutLabels(TextBuffer* out, int32_t firstForm)
{
    Put(out, "%-5s", "");
    for (int j = 0; j < RowLength; ++j) {
        char name[FormNameSize];
        NameForm(firstForm + j, ToneMatrix, name);
        Put(out, "%6s", name);
    }
    Put(out, "\r\n");
}

static void PutMatrix(TextBuffer* out)
{
    PutLabels(out, 12);
    for (int i = 0; i < RowLength; ++i) {
        char prime[FormNameSize], retrograde[FormNameSize];
        NameForm(i, ToneMatrix, prime);
        NameForm(24 + i, ToneMatrix, retrograde);
        Put(out, "%-5s", prime);
        for (int j = 0; j < RowLength; ++j) Put(out, "%6s", Pitch(ToneMatrix[i][j]));
        Put(out, "   %s\r\n", retrograde);
    }
    PutLabels(out, 36);
}

const char* VoiceInstrumentName(int32_t voice)
{
    return voice == PercussionVoice ? "Percussion Channel" : ProgramNameTable[VoiceTracks[voice].Program & 0x7F];
}

// A silent slot still takes its form's time: its name stands in parentheses.
static void PutVoice(TextBuffer* out, int32_t v)
{
    const VoiceTrack* track = &VoiceTracks[v];
    Put(out, "\r\nVoice %d: %s, octave %d\r\n", (int)v + 1, VoiceInstrumentName(v), (int)track->Octave);
    if (SlotCount == 0) Put(out, "  no slots\r\n");
    for (int k = 0; k < SlotCount; ++k) {
        char name[FormNameSize];
        NameForm(track->FormOrder[k], ToneMatrix, name);
        const char* format = track->FormFlags[k] == 1 ? "  slot %2d  %s\r\n" : "  slot %2d  (%s)\r\n";
        Put(out, format, k + 1, name);
    }
}

// A paragraph of the analysis, gathered whole and then wrapped.
struct Paragraph {
    char Text[512];
    int32_t Length;
};

static void Add(Paragraph* p, const char* format, ...)
{
    if (p->Length >= (int32_t)sizeof p->Text - 1) return;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(p->Text + p->Length, sizeof p->Text - p->Length, format, args);
    va_end(args);
    if (written > 0) p->Length = std::min(p->Length + written, (int32_t)sizeof p->Text - 1);
}

// Words that would carry a line past LineWidth start a line indented by two.
static void PutParagraph(TextBuffer* out, Paragraph* p, int32_t indent)
{
    int32_t column = Put(out, "%*s", (int)indent, "");
    for (const char* word = p->Text; *word;) {
        int32_t length = (int32_t)std::strcspn(word, " ");
        if (length > 0 && column > indent && column + 1 + length > LineWidth) column = Put(out, "\r\n  ");
        else if (length > 0 && column > indent) column += Put(out, " ");
        column += Put(out, "%.*s", (int)length, word);
        word += length;
        while (*word == ' ') ++word;
    }
    Put(out, "\r\n");
    p->Length = 0;
    p->Text[0] = '\0';
}

static void PutPitchClassCounts(TextBuffer* out, const RowAnalysis* a)
{
    Paragraph p{};
    if (a->TwelveTone) Add(&p, "Twelve-tone row: yes, every pitch class comes once.");
    if (!a->TwelveTone) {
        Add(&p, "Twelve-tone row: no;");
        for (int pc = 0; pc < RowLength; ++pc) {
            if (a->Occurrences[pc] == 2) Add(&p, " %s comes twice;", Pitch(pc));
            if (a->Occurrences[pc] > 2) Add(&p, " %s comes %d times;", Pitch(pc), (int)a->Occurrences[pc]);
        }
        Add(&p, " missing:");
        for (int pc = 0; pc < RowLength; ++pc)
            if (a->Occurrences[pc] == 0) Add(&p, " %s", Pitch(pc));
        Add(&p, ".");
    }
    PutParagraph(out, &p, 0);
}

static void PutIntervals(TextBuffer* out, const RowAnalysis* a)
{
    Paragraph p{};
    Add(&p, "Intervals, in semitones up:");
    bool seen[RowLength] = {};
    for (int32_t interval : a->Intervals) {
        Add(&p, " %d", (int)interval);
        seen[interval] = true;
    }
    PutParagraph(out, &p, 0);
    if (a->AllInterval) Add(&p, "All-interval row: yes, each interval from 1 to 11 comes once.");
    // A row of repeats may still have every interval once; it is no all-interval row.
    bool every = true;
    for (int interval = 1; interval < RowLength; ++interval) every &= seen[interval];
    if (!a->AllInterval) {
        Add(&p, "All-interval row: no%s", a->TwelveTone ? "" : ", as the row is not a twelve-tone row");
        Add(&p, every ? "; every interval from 1 to 11 comes once." : "; missing:");
        for (int interval = 1; interval < RowLength; ++interval)
            if (!seen[interval]) Add(&p, " %d", interval);
        if (!every) Add(&p, ".");
    }
    PutParagraph(out, &p, 0);
}

// R-0 complements the first hexachord of every twelve-tone row: it is said
// once, and is no discovery.
static bool Discovered(const RowAnalysis* a, int32_t family, int32_t n)
{
    return a->Complements[family][n] && (family != RetrogradeFamily || n != 0);
}

// The property each family of complementing forms gives, then the forms.
static void PutCombinatoriality(TextBuffer* out, const RowAnalysis* a, const int32_t* row)
{
    static const char* const Properties[FamilyCount] = {"prime", "inversional", "retrograde",
                                                        "retrograde-inversional"};
    bool found[FamilyCount] = {};
    int32_t kinds = 0;
    for (int family = 0; family < FamilyCount; ++family)
        for (int n = 0; n < RowLength; ++n)
            if (Discovered(a, family, n) && !found[family]) {
                found[family] = true;
                ++kinds;
            }
    Paragraph p{};
    Add(&p, "Hexachordal combinatoriality:");
    if (!a->TwelveTone) Add(&p, " not judged, as the row is not a twelve-tone row.");
    if (a->TwelveTone && kinds == 0)
        Add(&p, " none beyond R-0, whose first six pitch classes complement the row's first six in every"
                " twelve-tone row.");
    if (!a->TwelveTone || kinds == 0) {
        PutParagraph(out, &p, 0);
        return;
    }
    for (int family = 0; family < FamilyCount; ++family)
        if (found[family]) Add(&p, " %s%s", Properties[family], --kinds > 0 ? "," : ".");
    if (found[PrimeFamily] && found[InversionFamily] && found[RetrogradeInversionFamily])
        Add(&p, " The row is all-combinatorial.");
    Add(&p, " Besides R-0, as in every twelve-tone row, the first six pitch classes of these forms"
            " are the six that the row's first six,");
    for (int k = 0; k < RowLength / 2; ++k) Add(&p, " %s", Pitch(row[k]));
    Add(&p, ", leave out:");
    PutParagraph(out, &p, 0);
    for (int family = 0; family < FamilyCount; ++family)
        for (int n = 0; n < RowLength; ++n)
            if (Discovered(a, family, n)) Add(&p, " %s-%d", FormFamilyName(family), n);
    PutParagraph(out, &p, 2);
}

// What the row is, judged before the matrix.
static void PutRowAnalysis(TextBuffer* out)
{
    const int32_t* row = ToneMatrix[0];
    RowAnalysis analysis;
    AnalyseRow(row, &analysis);
    PutPitchClassCounts(out, &analysis);
    PutIntervals(out, &analysis);
    PutCombinatoriality(out, &analysis, row);
}

void BuildFormsText(char* text, int32_t size)
{
    if (size <= 0) return;
    TextBuffer out{text, size, 0};
    text[0] = '\0';
    Put(&out, "Tone row:");
    for (int j = 0; j < RowLength; ++j) Put(&out, " %s", Pitch(ToneMatrix[0][j]));
    Put(&out, "\r\np0: %s\r\n\r\n", Pitch(ToneMatrix[0][0]));
    PutRowAnalysis(&out);
    Put(&out, "\r\n");
    PutMatrix(&out);
    bool anyVoice = false;
    for (int v = 0; v < VoiceCount; ++v) {
        if (!VoiceTracks[v].Active) continue;
        anyVoice = true;
        PutVoice(&out, v);
    }
    if (!anyVoice) Put(&out, "\r\nNo voice took part.\r\n");
}
