#include "settings/pitch_names.h"

static const char* const Numbers[12] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
static const char* const Sharps[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
static const char* const Flats[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};

const char* PitchClassName(int32_t pitchClass, int32_t naming)
{
    int32_t pc = ((pitchClass % 12) + 12) % 12;
    if (naming == PitchSharps) return Sharps[pc];
    if (naming == PitchFlats) return Flats[pc];
    return Numbers[pc];
}
