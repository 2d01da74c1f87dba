// Puts a whole file image on disk safely. A new file that cannot be written
// whole is removed again. An existing file is rewritten in place, so that it
// stays the file the user named (its links, attributes and rights with it);
// a copy of its earlier content, made beside it first, puts that content
// back when the new one cannot be written. Where no copy can be made there,
// the earlier content is held in memory instead, and where it cannot be put
// back from there, it goes to a copy named for what it holds ("Piece
// (earlier content).mid"), beside the file or else in the user's temporary
// folder. Where
// the system can set room aside, a disk without room for the new content
// leaves the file untouched. Nothing temporary stays behind, unless a copy
// is the only whole one left.
#pragma once
#include <cstdint>

// The longest path the system allows, 260 UTF-16 units with the terminating
// zero, in bytes of UTF-8, the program's code page: a unit takes at most three
// bytes (a character of four bytes takes two units).
enum { LongestPathBytes = 259 * 3 + 1 };

// What a write that failed left under the file's name.
enum FileLeft {
    LeftNoFile,         // there was no file before, and there is none now
    LeftEarlier,        // the file holds its earlier content
    LeftEarlierInCopy,  // the earlier content is only in the copy named in KeptCopy
    LeftEarlierLost,    // the earlier content could not be put back
};

struct WriteFailure {
    int32_t Left;                     // a FileLeft
    char KeptCopy[LongestPathBytes];  // the copy's full name with LeftEarlierInCopy, else ""
};

// True when the file holds exactly these bytes; otherwise failure (or null)
// says what the file holds instead.
bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count, WriteFailure* failure = nullptr);

// The error box for a write that failed: the file's name, then what the file
// holds now, as failure tells it.
void ReportWriteFailure(const char* name, const WriteFailure& failure);
