// The names of the 128 General MIDI programs, in program order, as the Voices
// dialog lists them: entry p names program p.
#pragma once

enum { ProgramCount = 128, ProgramNameSize = 20 };

extern const char ProgramNameTable[ProgramCount][ProgramNameSize];
