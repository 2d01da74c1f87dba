// The composer's choices, the duration and tempo tables, and the working rows
// through which the engine and the Matrix dialog's random buttons pass rows.
#pragma once
#include <cstdint>

enum {
    VoiceCount = 16,
    RowLength = 12,
    FormCount = 48,
    DurationCodeCount = 17,
    DialogDurationCodeCount = 16,  // the dialog offers codes 0..15
    TempoCount = 12,
    LabelSize = 20,
    TicksPerQuarter = 384
};

struct CompositionSettings {
    int32_t ToneRow[RowLength];
    int32_t DurationRow[RowLength];
    int32_t VelocityRow[RowLength];
    int32_t VoiceActive[VoiceCount];
    int32_t VoiceInstrument[VoiceCount];
    int32_t VoiceOctave[VoiceCount];
    int32_t FormSelection[VoiceCount][FormCount];
    int32_t TempoIndex;  // read on the timer thread: use ReadTempoIndex/WriteTempoIndex
    int32_t PitchNames;  // a PitchNaming: how the Forms text, the piece view and the score write pitches
};

struct DurationEntry {
    char Label[LabelSize];
    int32_t Ticks;
};

extern CompositionSettings Settings;
extern DurationEntry DurationTable[DurationCodeCount];
extern const int32_t TempoTable[TempoCount];
extern char TempoLabels[TempoCount][4];

extern int32_t ToneWorkRow[RowLength];
extern int32_t DurationWorkRow[RowLength];
extern int32_t VelocityWorkRow[RowLength];

void ResetSettings();
// The values of a new start, into any record.
void FillDefaultSettings(CompositionSettings* settings);
// Every field of from over Settings, the tempo through WriteTempoIndex.
void ReplaceSettings(const CompositionSettings& from);

void LoadToneWorkRow();
void LoadDurationWorkRow();  // codes become ticks
void LoadVelocityWorkRow();
void StoreToneWorkRow();
void StoreDurationWorkRow();  // copied unchanged: holds codes after a random draw
void StoreVelocityWorkRow();

int32_t TicksOfDuration(int32_t code);

// The tempo is written on the window's thread and read by playback's timer thread.
int32_t ReadTempoIndex();
void WriteTempoIndex(int32_t index);
int32_t CurrentTempo();  // TempoTable[ReadTempoIndex()]
