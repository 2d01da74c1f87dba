#include <windows.h>

#include <cstdio>
#include <cstring>

#include "midi/file_write.h"

static const DWORD WritePiece = 64 * 1024;

// A new file in the target's folder that no one else is using; never an
// existing one. Its name is short, so that a target whose path is as long as
// the system allows still has a temporary file beside it.
static HANDLE CreateTemporaryBeside(const char* path, char* name)
{
    const char* slash = std::strrchr(path, '\\');
    const char* other = std::strrchr(path, '/');
    if (!slash || (other && other > slash)) slash = other;
    const int folderLength = slash ? (int)(slash - path + 1) : 0;
    for (int n = 0; n < 100; ++n) {
        int length = std::snprintf(name, MAX_PATH, "%.*s~vn%lx-%d.tmp", folderLength, path,
                                   (unsigned long)GetCurrentProcessId(), n);
        if (length < 0 || length >= MAX_PATH) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

static bool WriteAll(HANDLE file, const uint8_t* bytes, uint32_t count)
{
    while (count > 0) {
        DWORD piece = count < WritePiece ? count : WritePiece;
        DWORD written = 0;
        if (!WriteFile(file, bytes, piece, &written, nullptr) || written != piece) return false;
        bytes += piece;
        count -= piece;
    }
    return FlushFileBuffers(file) != 0;
}

bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count)
{
    if (!path || !*path) return false;
    // A read-only file is one the user keeps from being overwritten; a folder
    // is no file at all. Some systems would let the move replace either.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    char temporary[MAX_PATH];
    HANDLE file = CreateTemporaryBeside(path, temporary);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = WriteAll(file, bytes, count);
    bool closed = CloseHandle(file) != 0;
    if (written && closed && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary);
    return false;
}
