#include "settings/settings_file.h"

#include <cstdio>
#include <cstring>

#include "settings/pitch_names.h"
#include "settings/program_names.h"

// Settings whose pitches are written as numbers keep to the first version, so
// that a Varnolt which knows no pitch names still opens them; any other naming
// makes the file one of version 2, which such a Varnolt refuses as from a
// later one.
static const char FirstLine[] = "Varnolt settings 1";
static const char NamingFirstLine[] = "Varnolt settings 2";
static const char* const NamingWords[PitchNamingCount] = {"numbers", "sharps", "flats"};

enum {
    FormatVersion = 1,
    NamingVersion = 2,  // the first version with pitch names, and the latest
    PercussionVoice = 9,  // voice 10 has no instrument of its own
    HighestTone = 11,
    HighestValue = 127,   // velocities and instruments
    HighestOctave = 8,
    QuotedBytes = 24,     // of a word shown in an error message
};

// ---- writing ----

static void AppendNumber(std::string* text, int32_t value)
{
    char number[16];
    std::snprintf(number, sizeof number, " %d", (int)value);
    *text += number;
}

static void AppendNumberRow(std::string* text, const char* name, const int32_t* row)
{
    *text += name;
    for (int i = 0; i < RowLength; ++i) AppendNumber(text, row[i]);
    *text += "\r\n";
}

// A code outside the dialog's list cannot be in the settings; should one
// ever be, it is written as the default quarter note, as Compose plays it.
static const char* DurationLabel(int32_t code)
{
    return DurationTable[code >= 0 && code < DialogDurationCodeCount ? code : 2].Label;
}

static void AppendVoice(std::string* text, const CompositionSettings& settings, int voice)
{
    *text += "voice";
    AppendNumber(text, voice + 1);
    *text += settings.VoiceActive[voice] ? " on" : " off";
    const int32_t instrument = settings.VoiceInstrument[voice];
    if (voice != PercussionVoice) {
        *text += " instrument";
        AppendNumber(text, instrument);
        if (instrument >= 0 && instrument < ProgramCount) {
            *text += " (";
            *text += ProgramNameTable[instrument];
            *text += ")";
        }
    }
    *text += " octave";
    AppendNumber(text, settings.VoiceOctave[voice]);
    *text += " series";
    bool any = false;
    for (int k = 0; k < FormCount; ++k)
        if (settings.FormSelection[voice][k]) {
            AppendNumber(text, k + 1);
            any = true;
        }
    *text += any ? "\r\n" : " none\r\n";
}

std::string SettingsText(const CompositionSettings& settings)
{
    const int32_t naming = settings.PitchNames;
    const bool named = naming > PitchNumbers && naming < PitchNamingCount;
    std::string text = named ? NamingFirstLine : FirstLine;
    text += "\r\n";
    AppendNumberRow(&text, "tones", settings.ToneRow);
    text += "durations";
    for (int i = 0; i < RowLength; ++i) {
        text += ' ';
        text += DurationLabel(settings.DurationRow[i]);
    }
    text += "\r\nvelocities";
    for (int i = 0; i < RowLength; ++i) AppendNumber(&text, settings.VelocityRow[i]);
    text += "\r\ntempo";
    const int32_t tempo = settings.TempoIndex;
    AppendNumber(&text, TempoTable[tempo >= 0 && tempo < TempoCount ? tempo : 5]);
    text += "\r\n";
    if (named) text += std::string("pitches ") + NamingWords[naming] + "\r\n";
    for (int v = 0; v < VoiceCount; ++v) AppendVoice(&text, settings, v);
    return text;
}

// ---- reading ----

// One line being read: the rest of its text, its number, and where a fault is told.
struct LineReader {
    const char* At;
    const char* End;
    int32_t Number;
    std::string* Problem;
};

struct Word {
    const char* At;
    uint32_t Length;
};

// The line of each entry given so far, 0 for none, and the file's version.
struct EntryLines {
    int32_t Tones, Durations, Velocities, Tempo, Pitches;
    int32_t Voice[VoiceCount];
    int32_t Version;
};

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The next word of the line; of length 0 at the line's end.
static Word NextWord(LineReader& line)
{
    while (line.At < line.End && IsBlank(*line.At)) ++line.At;
    Word word = {line.At, 0};
    while (line.At < line.End && !IsBlank(*line.At)) ++line.At;
    word.Length = (uint32_t)(line.At - word.At);
    return word;
}

static bool Is(Word word, const char* name)
{
    if (word.Length != std::strlen(name)) return false;
    for (uint32_t i = 0; i < word.Length; ++i) {
        char c = word.At[i];
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        if (c != name[i]) return false;
    }
    return true;
}

// Digits only, no sign. However many digits there are, a value beyond the
// highest is out of range and nothing overflows.
static bool NumberIn(Word word, int32_t lowest, int32_t highest, int32_t* value)
{
    if (word.Length == 0) return false;
    int64_t number = 0;
    for (uint32_t i = 0; i < word.Length; ++i) {
        if (!IsDigit(word.At[i])) return false;
        if (number <= highest) number = number * 10 + (word.At[i] - '0');
    }
    if (number < lowest || number > highest) return false;
    *value = (int32_t)number;
    return true;
}

// The word as the error box shows it: quoted, and cut short (never inside a
// character) when it is long. The line was checked to be UTF-8 before.
static std::string Quoted(Word word)
{
    if (word.Length == 0) return "the end of the line";
    uint32_t shown = word.Length;
    if (shown > QuotedBytes) {
        shown = QuotedBytes;
        while (shown > 0 && ((uint8_t)word.At[shown] & 0xC0) == 0x80) --shown;
    }
    return "\"" + std::string(word.At, shown) + (shown < word.Length ? "...\"" : "\"");
}

static bool Fault(LineReader& line, const std::string& text)
{
    *line.Problem = "Line " + std::to_string(line.Number) + ": " + text;
    return false;
}

static bool Expected(LineReader& line, const std::string& what, Word found)
{
    return Fault(line, "expected " + what + ", found " + Quoted(found));
}

static bool AtLineEnd(LineReader& line, const char* after)
{
    Word word = NextWord(line);
    return word.Length == 0 || Expected(line, std::string("the end of the line after ") + after, word);
}

// The length of the UTF-8 character at text, 0 when the bytes are none
// (a stray or missing continuation, an overlong form, a surrogate, beyond U+10FFFF).
static int Utf8Length(const uint8_t* text, const uint8_t* end)
{
    const uint8_t first = text[0];
    if (first < 0x80) return 1;
    const int length = first >= 0xC2 && first <= 0xDF   ? 2
                       : (first & 0xF0) == 0xE0         ? 3
                       : first >= 0xF0 && first <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || end - text < length) return 0;
    uint32_t code = first & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80) return 0;
        code = code << 6 | (text[i] & 0x3F);
    }
    if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return 0;
    if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return 0;
    return length;
}

// A first line that is no text at all is no settings file: what it should
// have been is the more useful message then.
static bool TextFault(LineReader& line, const std::string& expected, const std::string& found)
{
    return Fault(line, "expected " + (line.Number == 1 ? "\"" + std::string(FirstLine) + "\"" : expected) +
                           ", found " + found);
}

static bool CheckText(LineReader& line)
{
    const std::string longest = std::to_string((int)SettingsLineLongest);
    if (line.End - line.At > SettingsLineLongest)
        return TextFault(line, "a line of at most " + longest + " bytes", "a line of more than " + longest + " bytes");
    const uint8_t* end = (const uint8_t*)line.End;
    for (const uint8_t* at = (const uint8_t*)line.At; at < end;) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", *at);
        if (*at == 0) return TextFault(line, "text", "a NUL byte");
        if ((*at < 0x20 && *at != '\t') || *at == 0x7F)
            return TextFault(line, "text", std::string("the control character ") + byte);
        const int length = Utf8Length(at, end);
        if (length == 0) return TextFault(line, "UTF-8 text", std::string("the byte ") + byte);
        at += length;
    }
    return true;
}

static bool ReadFirstLine(LineReader& line, int32_t* number)
{
    const Word whole = {line.At, (uint32_t)(line.End - line.At)};
    const Word name = NextWord(line), kind = NextWord(line), version = NextWord(line);
    const bool ours = Is(name, "varnolt") && Is(kind, "settings");
    if (ours && NumberIn(version, FormatVersion, NamingVersion, number)) return AtLineEnd(line, "the version");
    const std::string expected = std::string("expected \"") + FirstLine + "\"";
    if (ours && NumberIn(version, NamingVersion + 1, 1000000, number))
        return Fault(line, expected + " or \"" + NamingFirstLine + "\", found version " + std::to_string(*number) +
                               ", from a later Varnolt");
    if (name.Length == 0) return Fault(line, expected + ", found an empty line");
    return Fault(line, expected + ", found " + Quoted(whole));
}

static bool ReadNumberRow(LineReader& line, const char* what, const char* plural, int32_t highest, int32_t* row)
{
    for (int i = 0; i < RowLength; ++i) {
        const Word word = NextWord(line);
        if (!NumberIn(word, 0, highest, &row[i]))
            return Expected(line,
                            std::string(what) + " " + std::to_string(i) + " of " + plural + " 0..11, a number 0.." +
                                std::to_string((int)highest),
                            word);
    }
    return AtLineEnd(line, (std::string("12 ") + plural).c_str());
}

static bool ReadDurations(LineReader& line, int32_t* row)
{
    for (int i = 0; i < RowLength; ++i) {
        const Word word = NextWord(line);
        row[i] = -1;
        for (int code = 0; code < DialogDurationCodeCount; ++code)
            if (word.Length == std::strlen(DurationTable[code].Label) &&
                std::memcmp(word.At, DurationTable[code].Label, word.Length) == 0)
                row[i] = code;
        if (row[i] >= 0) continue;
        std::string labels;
        for (int code = 0; code < DialogDurationCodeCount; ++code)
            labels += std::string(code ? " " : "") + DurationTable[code].Label;
        return Expected(line, "duration " + std::to_string(i) + " of durations 0..11, one of " + labels, word);
    }
    return AtLineEnd(line, "12 durations");
}

static bool ReadTempo(LineReader& line, int32_t* tempoIndex)
{
    const Word word = NextWord(line);
    int32_t beats = 0;
    if (NumberIn(word, 0, 1000, &beats))
        for (int i = 0; i < TempoCount; ++i)
            if (TempoTable[i] == beats) {
                *tempoIndex = i;
                return AtLineEnd(line, "the tempo");
            }
    std::string tempi;
    for (int i = 0; i < TempoCount; ++i)
        tempi += std::string(i == 0 ? "" : i == TempoCount - 1 ? " or " : ", ") + TempoLabels[i];
    return Expected(line, "a tempo of " + tempi + " beats a minute", word);
}

// The instrument's number, then perhaps its name in brackets, which is for
// the reader only: the number counts.
static bool ReadInstrument(LineReader& line, Word part, int voice, int32_t* instrument)
{
    if (voice == PercussionVoice) return Expected(line, "no instrument for voice 10, the percussion voice", part);
    const Word word = NextWord(line);
    if (!NumberIn(word, 0, HighestValue, instrument)) return Expected(line, "an instrument 0..127", word);
    while (line.At < line.End && IsBlank(*line.At)) ++line.At;
    if (line.At == line.End || *line.At != '(') return true;
    const void* close = std::memchr(line.At, ')', (size_t)(line.End - line.At));
    if (!close) return Fault(line, "expected \")\" after the instrument's name, found the end of the line");
    line.At = (const char*)close + 1;
    return true;
}

// The ticked boxes, in place of those of a new start; "none" ticks none.
static bool ReadSeries(LineReader& line, int32_t* flags)
{
    std::memset(flags, 0, FormCount * sizeof *flags);
    Word word = NextWord(line);
    if (Is(word, "none")) return true;
    int32_t box = 0;
    if (!NumberIn(word, 1, FormCount, &box)) return Expected(line, "Series boxes 1..48, or none", word);
    for (;;) {
        if (flags[box - 1])
            return Fault(line, "expected each Series box once, found " + std::to_string(box) + " again");
        flags[box - 1] = 1;
        const char* before = line.At;
        word = NextWord(line);
        if (word.Length == 0 || !IsDigit(word.At[0])) {
            line.At = before;  // the next part of the line
            return true;
        }
        if (!NumberIn(word, 1, FormCount, &box)) return Expected(line, "a Series box 1..48", word);
    }
}

enum { PartActive = 1, PartInstrument = 2, PartOctave = 4, PartSeries = 8 };

static int32_t PartOf(Word word)
{
    if (Is(word, "on") || Is(word, "off")) return PartActive;
    if (Is(word, "instrument")) return PartInstrument;
    if (Is(word, "octave")) return PartOctave;
    return Is(word, "series") ? PartSeries : 0;
}

static bool ReadVoice(LineReader& line, CompositionSettings* settings, EntryLines* given)
{
    Word word = NextWord(line);
    int32_t number = 0;
    if (!NumberIn(word, 1, VoiceCount, &number)) return Expected(line, "a voice 1..16", word);
    const int v = number - 1;
    if (given->Voice[v])
        return Fault(line, "expected each voice once, found voice " + std::to_string(number) +
                               " again (first on line " + std::to_string(given->Voice[v]) + ")");
    given->Voice[v] = line.Number;
    int32_t parts = 0;
    for (word = NextWord(line); word.Length; word = NextWord(line)) {
        const int32_t part = PartOf(word);
        if (!part) return Expected(line, "on, off, instrument, octave or series", word);
        if (parts & part)
            return Fault(line, "expected on or off, instrument, octave and series at most once each, found " +
                                   Quoted(word) + " again");
        parts |= part;
        bool read = true;
        if (part == PartActive) settings->VoiceActive[v] = Is(word, "on") ? 1 : 0;
        if (part == PartInstrument) read = ReadInstrument(line, word, v, &settings->VoiceInstrument[v]);
        if (part == PartOctave) {
            const Word octave = NextWord(line);
            read = NumberIn(octave, 0, HighestOctave, &settings->VoiceOctave[v]) ||
                   Expected(line, "an octave 0..8", octave);
        }
        if (part == PartSeries) read = ReadSeries(line, settings->FormSelection[v]);
        if (!read) return false;
    }
    return true;
}

// The first line each entry was given on; a second time is a fault.
static bool FirstTime(LineReader& line, Word name, int32_t* givenOn)
{
    if (*givenOn)
        return Fault(line, "expected each entry once, found " + Quoted(name) + " again (first on line " +
                               std::to_string(*givenOn) + ")");
    *givenOn = line.Number;
    return true;
}

static bool ReadPitchNames(LineReader& line, Word name, int32_t version, int32_t* naming)
{
    if (version < NamingVersion)
        return Fault(line, "expected tones, durations, velocities, tempo, voice or a comment, found " + Quoted(name) +
                               ", which only a file of version 2 may hold");
    const Word word = NextWord(line);
    for (int n = 0; n < PitchNamingCount; ++n)
        if (Is(word, NamingWords[n])) {
            *naming = n;
            return AtLineEnd(line, "the pitch names");
        }
    return Expected(line, "pitch names as numbers, sharps or flats", word);
}

static bool ReadEntry(LineReader& line, CompositionSettings* settings, EntryLines* given)
{
    const Word name = NextWord(line);
    if (name.Length == 0 || name.At[0] == '#') return true;  // a blank line or a comment
    if (Is(name, "tones"))
        return FirstTime(line, name, &given->Tones) &&
               ReadNumberRow(line, "tone", "tones", HighestTone, settings->ToneRow);
    if (Is(name, "durations"))
        return FirstTime(line, name, &given->Durations) && ReadDurations(line, settings->DurationRow);
    if (Is(name, "velocities"))
        return FirstTime(line, name, &given->Velocities) &&
               ReadNumberRow(line, "velocity", "velocities", HighestValue, settings->VelocityRow);
    if (Is(name, "tempo")) return FirstTime(line, name, &given->Tempo) && ReadTempo(line, &settings->TempoIndex);
    if (Is(name, "voice")) return ReadVoice(line, settings, given);
    if (Is(name, "pitches"))
        return FirstTime(line, name, &given->Pitches) &&
               ReadPitchNames(line, name, given->Version, &settings->PitchNames);
    return Expected(line, given->Version < NamingVersion
                              ? "tones, durations, velocities, tempo, voice or a comment"
                              : "tones, durations, velocities, tempo, pitches, voice or a comment",
                    name);
}

bool ParseSettingsText(const uint8_t* bytes, uint32_t count, CompositionSettings* settings, std::string* problem)
{
    FillDefaultSettings(settings);
    EntryLines given = {};
    const char* at = (const char*)bytes;
    const char* end = at + count;
    // The mark that some editors put in front of UTF-8 text.
    if (count >= 3 && std::memcmp(at, "\xEF\xBB\xBF", 3) == 0) at += 3;
    for (int32_t number = 1; number == 1 || at < end; ++number) {
        const char* newline = at < end ? (const char*)std::memchr(at, '\n', (size_t)(end - at)) : nullptr;
        LineReader line = {at, newline ? newline : end, number, problem};
        if (line.End > line.At && line.End[-1] == '\r') --line.End;
        at = newline ? newline + 1 : end;
        if (!CheckText(line)) return false;
        if (!(number == 1 ? ReadFirstLine(line, &given.Version) : ReadEntry(line, settings, &given))) return false;
    }
    return true;
}
