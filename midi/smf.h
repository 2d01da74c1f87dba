// The Standard MIDI File writer: format 1, 384 ticks per quarter note, a
// conductor track with the tempo, then one track per active voice.
#pragma once
#include <cstdint>

enum { MidiImageSize = 200000 };

// The whole file is assembled here before anything touches the disk.
extern uint8_t FileImage[MidiImageSize];
extern uint32_t FileImageCount;

// One voice's event bytes, gathered first because the chunk length stands
// in front of them.
extern uint8_t TrackArea[MidiImageSize];
extern uint32_t TrackAreaCount;

// Appends the variable-length form of value (at most 2^28 - 1) to the track area.
void AppendVarLen(uint32_t value);

// Builds the file image from the voice tracks, the song header and the tempo
// chosen now. A voice too long for the track area is fatal: "ERROR: Too many
// events\n", then the program ends with status 0.
void BuildMidiImage();

// Builds the image, then puts it in place of the named file in one piece.
// A file that cannot be written is reported and any earlier file is kept; when
// its earlier content could not be put back, the report names the copy that
// holds it.
bool WriteMidiFile(const char* name);
