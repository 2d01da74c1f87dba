// Reads a small file whole. The Windows definition is in file_read_win32.cpp;
// the tests bring their own.
#pragma once
#include <cstdint>

enum FileReadResult {
    FileRead,        // count bytes, the whole file
    FileUnreadable,  // missing, a folder, locked by another program, no right to read it
    FileTooLarge,    // more than capacity bytes
};

// The named file's bytes into bytes; a FileReadResult.
int32_t ReadSmallFile(const char* path, uint8_t* bytes, uint32_t capacity, uint32_t* count);
