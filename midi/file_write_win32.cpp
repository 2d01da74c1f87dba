#include <windows.h>

#include <cstdio>
#include <cstring>

#include "midi/file_write.h"

static const DWORD Piece = 64 * 1024;

// A new file in the target's own folder that no one else is using; never an
// existing one. Its name (room for LongestPathBytes) is short, but a folder
// whose path is near the longest allowed may still have no room for it: then
// there is none.
static HANDLE CreateTemporaryBeside(const char* path, char* name)
{
    const char* slash = std::strrchr(path, '\\');
    const char* other = std::strrchr(path, '/');
    if (!slash || (other && other > slash)) slash = other;
    const int folderLength = slash ? (int)(slash - path + 1) : 0;
    for (int n = 0; n < 100; ++n) {
        int length = std::snprintf(name, LongestPathBytes, "%.*s~vn%lx-%d.tmp", folderLength, path,
                                   (unsigned long)GetCurrentProcessId(), n);
        if (length < 0 || length >= LongestPathBytes) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

static bool Rewind(HANDLE file)
{
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

static bool WriteAll(HANDLE file, const uint8_t* bytes, uint32_t count)
{
    while (count > 0) {
        DWORD piece = count < Piece ? count : Piece;
        DWORD written = 0;
        if (!WriteFile(file, bytes, piece, &written, nullptr) || written != piece) return false;
        bytes += piece;
        count -= piece;
    }
    return true;
}

// The file's content from the start is exactly these bytes, on the disk.
static bool WriteContent(HANDLE file, const uint8_t* bytes, uint32_t count)
{
    return Rewind(file) && WriteAll(file, bytes, count) && SetEndOfFile(file) && FlushFileBuffers(file);
}

// Copies one open file's whole content over another's, from the start.
static bool CopyContent(HANDLE from, HANDLE to)
{
    static uint8_t buffer[Piece];
    if (!Rewind(from) || !Rewind(to)) return false;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, buffer, Piece, &read, nullptr)) return false;
        if (read == 0) break;
        if (!WriteAll(to, buffer, read)) return false;
    }
    return SetEndOfFile(to) && FlushFileBuffers(to);
}

// A file that did not exist before: on failure nothing of it stays.
static bool WriteNewFile(const char* path, const uint8_t* bytes, uint32_t count)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = WriteContent(file, bytes, count);
    if (CloseHandle(file) && written) return true;
    DeleteFileA(path);
    return false;
}

// The existing file keeps being the same file: its other names, the file a
// link points to, its attributes and its rights all stay. Only its content
// changes. A copy of the earlier content beside it puts that content back
// when the new one cannot be written whole; when even that fails, the copy is
// the only whole one left and stays, under the name given in keptCopy. A copy
// begun but not finished stops the save before the target is touched. Where no
// copy can be made at all, the new content is written all the same.
static bool RewriteExistingFile(HANDLE target, const char* path, const uint8_t* bytes, uint32_t count,
                                char* keptCopy)
{
    char copyName[LongestPathBytes];
    HANDLE copy = CreateTemporaryBeside(path, copyName);
    if (copy == INVALID_HANDLE_VALUE) return WriteContent(target, bytes, count);
    bool written = false;
    bool keep = false;
    if (CopyContent(target, copy)) {
        written = WriteContent(target, bytes, count);
        if (!written) keep = !CopyContent(copy, target);
    }
    CloseHandle(copy);
    if (!keep) {
        DeleteFileA(copyName);
    } else if (keptCopy) {
        DWORD length = GetFullPathNameA(copyName, LongestPathBytes, keptCopy, nullptr);
        if (length == 0 || length >= LongestPathBytes) std::memcpy(keptCopy, copyName, LongestPathBytes);
    }
    return written;
}

bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count, char* keptCopy)
{
    if (keptCopy) keptCopy[0] = 0;
    if (!path || !*path) return false;
    // A read-only file is one the user keeps from being overwritten; a folder
    // is no file at all.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return WriteNewFile(path, bytes, count);
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    HANDLE target = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (target == INVALID_HANDLE_VALUE) return false;
    bool written = RewriteExistingFile(target, path, bytes, count, keptCopy);
    return CloseHandle(target) && written;
}
