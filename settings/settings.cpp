#include "settings/settings.h"

#include <cstdio>
#include <cstring>

CompositionSettings Settings;
DurationEntry DurationTable[DurationCodeCount];
const int32_t TempoTable[TempoCount] = {10, 20, 30, 40, 50, 60, 80, 100, 120, 150, 160, 200};
char TempoLabels[TempoCount][4];

int32_t ToneWorkRow[RowLength];
int32_t DurationWorkRow[RowLength];
int32_t VelocityWorkRow[RowLength];

static const DurationEntry DurationDefaults[DurationCodeCount] = {
    {"1", 1536},     {"1/2", 768},    {"1/4", 384},    {"1/8", 192},   {"1/16", 96},
    {"1/32", 48},    {"1/64", 24},    {"^1/8", 128},   {"^1/16", 64},  {"^1/32", 32},
    {"^1/64", 16},   {".1/2", 1152},  {".1/4", 576},   {".1/8", 288},  {".1/16", 144},
    {".1/32", 72},   {".1/64", 36},
};

enum { DefaultDurationCode = 2, DefaultVelocity = 96, DefaultOctave = 5, DefaultTempoIndex = 5 };

static void BuildLabels()
{
    std::memcpy(DurationTable, DurationDefaults, sizeof DurationTable);
    for (int i = 0; i < TempoCount; ++i)
        std::snprintf(TempoLabels[i], sizeof TempoLabels[i], "%d", (int)TempoTable[i]);
}

void FillDefaultSettings(CompositionSettings* settings)
{
    for (int i = 0; i < RowLength; ++i) {
        settings->ToneRow[i] = i;
        settings->DurationRow[i] = DefaultDurationCode;
        settings->VelocityRow[i] = DefaultVelocity;
    }
    for (int v = 0; v < VoiceCount; ++v) {
        settings->VoiceActive[v] = v == 0 ? 1 : 0;
        settings->VoiceInstrument[v] = 0;
        settings->VoiceOctave[v] = DefaultOctave;
    }
    std::memset(settings->FormSelection, 0, sizeof settings->FormSelection);
    settings->FormSelection[0][0] = 1;
    settings->FormSelection[0][1] = 1;
    settings->TempoIndex = DefaultTempoIndex;
    settings->PitchNames = 0;
}

void ReplaceSettings(const CompositionSettings& from)
{
    std::memcpy(Settings.ToneRow, from.ToneRow, sizeof Settings.ToneRow);
    std::memcpy(Settings.DurationRow, from.DurationRow, sizeof Settings.DurationRow);
    std::memcpy(Settings.VelocityRow, from.VelocityRow, sizeof Settings.VelocityRow);
    std::memcpy(Settings.VoiceActive, from.VoiceActive, sizeof Settings.VoiceActive);
    std::memcpy(Settings.VoiceInstrument, from.VoiceInstrument, sizeof Settings.VoiceInstrument);
    std::memcpy(Settings.VoiceOctave, from.VoiceOctave, sizeof Settings.VoiceOctave);
    std::memcpy(Settings.FormSelection, from.FormSelection, sizeof Settings.FormSelection);
    Settings.PitchNames = from.PitchNames;
    WriteTempoIndex(from.TempoIndex);
}

void ResetSettings()
{
    static CompositionSettings defaults;
    FillDefaultSettings(&defaults);
    ReplaceSettings(defaults);
    BuildLabels();
}

// A code outside the table cannot come from the dialogs; should one ever
// arrive, it sounds as the default quarter note instead of reading past the table.
int32_t TicksOfDuration(int32_t code)
{
    if (code < 0 || code >= DurationCodeCount)
        code = DefaultDurationCode;
    return DurationDefaults[code].Ticks;
}

void LoadToneWorkRow()
{
    for (int i = 0; i < RowLength; ++i) ToneWorkRow[i] = Settings.ToneRow[i];
}

void LoadDurationWorkRow()
{
    for (int i = 0; i < RowLength; ++i) DurationWorkRow[i] = TicksOfDuration(Settings.DurationRow[i]);
}

void LoadVelocityWorkRow()
{
    for (int i = 0; i < RowLength; ++i) VelocityWorkRow[i] = Settings.VelocityRow[i];
}

void StoreToneWorkRow()
{
    for (int i = 0; i < RowLength; ++i) Settings.ToneRow[i] = ToneWorkRow[i];
}

void StoreDurationWorkRow()
{
    for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = DurationWorkRow[i];
}

void StoreVelocityWorkRow()
{
    for (int i = 0; i < RowLength; ++i) Settings.VelocityRow[i] = VelocityWorkRow[i];
}

int32_t ReadTempoIndex()
{
    return __atomic_load_n(&Settings.TempoIndex, __ATOMIC_RELAXED);
}

void WriteTempoIndex(int32_t index)
{
    __atomic_store_n(&Settings.TempoIndex, index, __ATOMIC_RELAXED);
}

int32_t CurrentTempo()
{
    int32_t index = ReadTempoIndex();
    if (index < 0 || index >= TempoCount) index = DefaultTempoIndex;
    return TempoTable[index];
}
