// Settings files: every composition setting as text a person can read and
// edit, kept only when the composer saves it and read only when they open it.
//
//   Varnolt settings 1
//   tones 0 1 2 3 4 5 6 7 8 9 10 11
//   durations 1/4 1/4 1/4 1/4 1/4 1/4 1/4 1/4 1/4 1/4 1/4 1/4
//   velocities 96 96 96 96 96 96 96 96 96 96 96 96
//   tempo 60
//   voice 1 on instrument 0 (acousticgrandpiano) octave 5 series 1 2
//   voice 2 off instrument 0 (acousticgrandpiano) octave 5 series none
//   ...
//   voice 10 off octave 5 series none
//
// Pitch names other than numbers add a line "pitches sharps" (or flats) after
// the tempo, and the first line then says version 2: a file of version 1
// holds no such line, and one without it writes pitches as numbers.
//
// The first line names the format and its version. After it every line is
// one entry, a blank line, or a comment that begins with '#'. An entry left
// out, and a part left out of a voice's line, keeps the value of a new start.
// Words are separated by blanks or tabs and read without regard to case;
// the instrument's name in brackets is for the reader and is not read.
#pragma once
#include <cstdint>
#include <string>

#include "settings/settings.h"

enum {
    SettingsFileLargest = 64 * 1024,  // bytes in a settings file at most
    SettingsLineLongest = 1024,       // bytes in one line at most, its end not counted
};

// The file's text for these settings; its lines end in CR LF.
std::string SettingsText(const CompositionSettings& settings);

// Reads a settings file's bytes into settings, which it first fills with the
// values of a new start. False at the first fault, with problem saying on
// which line and what was expected there; settings are then not to be used.
bool ParseSettingsText(const uint8_t* bytes, uint32_t count, CompositionSettings* settings, std::string* problem);
