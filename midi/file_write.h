// Puts a whole file image on disk safely. A new file that cannot be written
// whole is removed again. An existing file is rewritten in place, so that it
// stays the file the user named (its links, attributes and rights with it);
// a copy of its earlier content, made beside it first, puts that content
// back when the new one cannot be written. Nothing temporary stays behind,
// unless that copy is the only whole one left.
#pragma once
#include <cstdint>

// The longest path the system allows, 260 UTF-16 units with the terminating
// zero, in bytes of UTF-8, the program's code page: a unit takes at most three
// bytes (a character of four bytes takes two units).
enum { LongestPathBytes = 259 * 3 + 1 };

// When the new content cannot be written whole and the earlier content cannot
// be put back either, the copy beside the file is kept and keptCopy (room for
// LongestPathBytes, or null) gets its full name; otherwise it gets "".
bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count, char* keptCopy = nullptr);
