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

// Earlier content that no copy beside the file could take waits in memory, up
// to a size that any machine gives at once; a larger file is left as it is.
static const LONGLONG LargestHeldFile = 64 * 1024 * 1024;

// The file's whole content, read from the start into memory of the process
// heap; null when the file is too large, the memory cannot be had or the file
// cannot be read whole.
static uint8_t* ReadWhole(HANDLE file, uint32_t* count)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > LargestHeldFile || !Rewind(file)) return nullptr;
    const uint32_t total = (uint32_t)size.QuadPart;
    uint8_t* bytes = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, total ? total : 1));
    if (!bytes) return nullptr;
    for (*count = 0; *count < total;) {
        DWORD piece = total - *count < Piece ? total - *count : Piece;
        DWORD read = 0;
        if (!ReadFile(file, bytes + *count, piece, &read, nullptr) || read == 0) {
            HeapFree(GetProcessHeap(), 0, bytes);
            return nullptr;
        }
        *count += read;
    }
    return bytes;
}

// Where no copy can be made beside the file (a disk with no free entry, a
// folder that takes no new files, a path at the longest), the earlier content
// is read whole first and written back when the new content cannot be
// written whole. A file that cannot be held is not touched.
static bool RewriteFromMemory(HANDLE target, const uint8_t* bytes, uint32_t count, WriteFailure* failure)
{
    uint32_t earlierCount = 0;
    uint8_t* earlier = ReadWhole(target, &earlierCount);
    if (!earlier) return false;
    bool written = WriteContent(target, bytes, count);
    if (!written && !WriteContent(target, earlier, earlierCount)) failure->Left = LeftEarlierLost;
    HeapFree(GetProcessHeap(), 0, earlier);
    return written;
}

// The existing file keeps being the same file: its other names, the file a
// link points to, its attributes and its rights all stay. Only its content
// changes. A copy of the earlier content beside it puts that content back
// when the new one cannot be written whole; when even that fails, the copy is
// the only whole one left and stays, under the name given in the failure. A
// copy that cannot be made, or not finished (a disk without room for it), is
// no copy: memory holds the earlier content instead.
static bool RewriteExistingFile(HANDLE target, const char* path, const uint8_t* bytes, uint32_t count,
                                WriteFailure* failure)
{
    char copyName[LongestPathBytes];
    HANDLE copy = CreateTemporaryBeside(path, copyName);
    if (copy == INVALID_HANDLE_VALUE) return RewriteFromMemory(target, bytes, count, failure);
    if (!CopyContent(target, copy)) {
        CloseHandle(copy);
        DeleteFileA(copyName);
        return RewriteFromMemory(target, bytes, count, failure);
    }
    bool written = WriteContent(target, bytes, count);
    bool keep = !written && !CopyContent(copy, target);
    CloseHandle(copy);
    if (!keep) {
        DeleteFileA(copyName);
        return written;
    }
    failure->Left = LeftEarlierInCopy;
    DWORD length = GetFullPathNameA(copyName, LongestPathBytes, failure->KeptCopy, nullptr);
    if (length == 0 || length >= LongestPathBytes) std::memcpy(failure->KeptCopy, copyName, LongestPathBytes);
    return false;
}

bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count, WriteFailure* failure)
{
    WriteFailure unread;
    if (!failure) failure = &unread;
    failure->Left = LeftNoFile;
    failure->KeptCopy[0] = 0;
    if (!path || !*path) return false;
    // A read-only file is one the user keeps from being overwritten; a folder
    // is no file at all.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return WriteNewFile(path, bytes, count);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    failure->Left = LeftEarlier;
    if (attributes & FILE_ATTRIBUTE_READONLY) return false;
    HANDLE target = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (target == INVALID_HANDLE_VALUE) return false;
    bool written = RewriteExistingFile(target, path, bytes, count, failure);
    return CloseHandle(target) && written;
}
