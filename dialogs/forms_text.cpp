#include "dialogs/forms_text.h"

#include <cstdarg>
#include <cstdio>

#include "dialogs/program_names.h"
#include "engine/compose.h"
#include "events/events.h"

enum { PercussionVoice = 9 };

struct TextBuffer {
    char* Text;
    int32_t Size;
    int32_t Length;
};

// Appends to the text; what does not fit is left out, and the text always
// ends in a zero.
static void Put(TextBuffer* out, const char* format, ...)
{
    if (out->Length >= out->Size - 1) return;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(out->Text + out->Length, out->Size - out->Length, format, args);
    va_end(args);
    if (written < 0) return;
    out->Length += written;
    if (out->Length > out->Size - 1) out->Length = out->Size - 1;
}

static int32_t SemitonesAbove(int32_t pitchClass, int32_t p0)
{
    return ((pitchClass - p0) % 12 + 12) % 12;
}

void NameForm(int32_t formIndex, const Matrix m, char* name)
{
    static const char* const Families[] = {"P", "I", "R", "RI"};
    int32_t a = formIndex % 12;
    int32_t family = formIndex / 12 % 4;
    bool column = family == 1 || family == 3;
    int32_t first = column ? m[0][a] : m[a][0];
    std::snprintf(name, FormNameSize, "%s-%d", Families[family], (int)SemitonesAbove(first, m[0][0]));
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
        for (int j = 0; j < RowLength; ++j) Put(out, "%6d", (int)ToneMatrix[i][j]);
        Put(out, "   %s\r\n", retrograde);
    }
    PutLabels(out, 36);
}

// A silent slot still takes its form's time: its name stands in parentheses.
static void PutVoice(TextBuffer* out, int32_t v)
{
    const VoiceTrack* track = &VoiceTracks[v];
    const char* instrument = v == PercussionVoice ? "Percussion Channel" : ProgramNameTable[track->Program & 0x7F];
    Put(out, "\r\nVoice %d: %s, octave %d\r\n", (int)v + 1, instrument, (int)track->Octave);
    if (SlotCount == 0) Put(out, "  no slots\r\n");
    for (int k = 0; k < SlotCount; ++k) {
        char name[FormNameSize];
        NameForm(track->FormOrder[k], ToneMatrix, name);
        const char* format = track->FormFlags[k] == 1 ? "  slot %2d  %s\r\n" : "  slot %2d  (%s)\r\n";
        Put(out, format, k + 1, name);
    }
}

void BuildFormsText(char* text, int32_t size)
{
    if (size <= 0) return;
    TextBuffer out{text, size, 0};
    text[0] = '\0';
    Put(&out, "Tone row:");
    for (int j = 0; j < RowLength; ++j) Put(&out, " %d", (int)ToneMatrix[0][j]);
    Put(&out, "\r\np0: %d\r\n\r\n", (int)ToneMatrix[0][0]);
    PutMatrix(&out);
    bool anyVoice = false;
    for (int v = 0; v < VoiceCount; ++v) {
        if (!VoiceTracks[v].Active) continue;
        anyVoice = true;
        PutVoice(&out, v);
    }
    if (!anyVoice) Put(&out, "\r\nNo voice took part.\r\n");
}
