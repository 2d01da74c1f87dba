#include <windows.h>

#include <cstdio>
#include <cstring>

#include "midi/file_write.h"

static const DWORD Piece = 64 * 1024;

// The length of the folder part of path, its separator included.
static int FolderLength(const char* path)
{
    const char* slash = std::strrchr(path, '\\');
    const char* other = std::strrchr(path, '/');
    if (!slash || (other && other > slash)) slash = other;
    return slash ? (int)(slash - path + 1) : 0;
}

// A new file in the folder of path (a folder's own path ends in its
// separator) that no one else is using; never an existing one. Its name (room
// for LongestPathBytes) is short, but a folder whose path is near the longest
// allowed may still have no room for it: then there is none. An ordinary
// file, so that a copy the user is left with behaves like any other.
static HANDLE CreateTemporaryFile(const char* path, char* name)
{
    const int folderLength = FolderLength(path);
    for (int n = 0; n < 100; ++n) {
        int length = std::snprintf(name, LongestPathBytes, "%.*s~vn%lx-%d.tmp", folderLength, path,
                                   (unsigned long)GetCurrentProcessId(), n);
        if (length < 0 || length >= LongestPathBytes) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

// The name that says what a kept copy holds, in the given folder (its path
// with the separator): the file's own name with " (earlier content)" before
// its extension, and from the second on a number as well: "Piece (earlier
// content).mid", "Piece (earlier content 2).mid". False when it is too long.
static bool EarlierContentName(const char* folder, const char* path, int n, char* name)
{
    const char* own = path + FolderLength(path);
    const char* dot = std::strrchr(own, '.');
    if (!dot || dot == own) dot = own + std::strlen(own);
    char number[16] = "";
    if (n > 1) std::snprintf(number, sizeof number, " %d", n);
    int length = std::snprintf(name, LongestPathBytes, "%s%.*s (earlier content%s)%s", folder, (int)(dot - own), own,
                               number, dot);
    return length > 0 && length < LongestPathBytes;
}

static bool IsTaken(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

static bool Rewind(HANDLE file)
{
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

// How many of the bytes, from the first, the system took: all of them, or as
// many as it said it wrote before it stopped.
static uint32_t WriteThrough(HANDLE file, const uint8_t* bytes, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        DWORD piece = count - done < Piece ? count - done : Piece;
        DWORD written = 0;
        bool whole = WriteFile(file, bytes + done, piece, &written, nullptr) && written == piece;
        done += written <= piece ? written : 0;
        if (!whole) break;
    }
    return done;
}

static bool WriteAll(HANDLE file, const uint8_t* bytes, uint32_t count)
{
    return WriteThrough(file, bytes, count) == count;
}

// The file's content from the start is exactly these bytes, on the disk. The
// bytes that got through a write that stopped part way are counted in reached.
static bool WriteContent(HANDLE file, const uint8_t* bytes, uint32_t count, uint32_t* reached = nullptr)
{
    if (!Rewind(file)) return false;
    uint32_t done = WriteThrough(file, bytes, count);
    if (reached) *reached = done;
    return done == count && SetEndOfFile(file) && FlushFileBuffers(file);
}

static bool SetSize(HANDLE file, uint32_t size)
{
    LARGE_INTEGER end;
    end.QuadPart = size;
    return SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// True when the file's whole content, read back, is exactly these bytes.
static bool Holds(HANDLE file, const uint8_t* bytes, uint32_t count)
{
    static uint8_t buffer[Piece];
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart != count || !Rewind(file)) return false;
    for (uint32_t done = 0; done < count;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, Piece, &read, nullptr) || read == 0 || read > count - done) return false;
        if (std::memcmp(buffer, bytes + done, read) != 0) return false;
        done += read;
    }
    return true;
}

// Room for count bytes, and never less than the file takes now, is taken on
// the disk before the first byte of new content: the file's allocation grows,
// its size and content stay. Windows Vista and later do this
// (SetFileInformationByHandle, looked up here, as older systems lack it).
// Moving the file's end further out would reserve on older systems too, but
// changes the size and content that other programs see, and under Wine on
// Linux makes a hole that takes no room. Where the system cannot reserve
// (Wine says the call is not implemented), the write goes ahead; false only
// when the system says that the disk has no such room.
static bool ReserveRoom(HANDLE file, uint32_t count)
{
    typedef BOOL(WINAPI * SetInformation)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "SetFileInformationByHandle") : nullptr;
    FILE_ALLOCATION_INFO allocation;
    if (!found || !GetFileSizeEx(file, &allocation.AllocationSize)) return true;
    // An allocation below the file's end would cut the file there.
    if (allocation.AllocationSize.QuadPart < count) allocation.AllocationSize.QuadPart = count;
    SetInformation call = reinterpret_cast<SetInformation>(reinterpret_cast<void (*)()>(found));
    if (call(file, FileAllocationInfo, &allocation, sizeof allocation)) return true;
    DWORD error = GetLastError();
    return error != ERROR_DISK_FULL && error != ERROR_HANDLE_DISK_FULL;
}

// The failure names a copy that holds the earlier content, by its full name.
static void NameKeptCopy(const char* name, WriteFailure* failure)
{
    failure->Left = LeftEarlierInCopy;
    DWORD length = GetFullPathNameA(name, LongestPathBytes, failure->KeptCopy, nullptr);
    if (length == 0 || length >= LongestPathBytes) std::memcpy(failure->KeptCopy, name, LongestPathBytes);
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
    // Written and flushed whole, it is saved, whatever closing it says.
    CloseHandle(file);
    if (written) return true;
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

// Earlier content that could not be put back is not freed before it is safe:
// it goes to a new ordinary file, named for what it holds, in the file's own
// folder, where the user looks for the piece; where that cannot be written
// (the disk that had no room for the new content most likely has none for
// this either), in the user's temporary folder. A copy never takes the name
// of a file that exists. Only when neither can be written is it lost.
static bool KeepCopyIn(const char* folder, const char* path, const uint8_t* earlier, uint32_t count,
                       WriteFailure* failure)
{
    char name[LongestPathBytes];
    for (int n = 1; n < 100 && EarlierContentName(folder, path, n, name); ++n) {
        HANDLE copy = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (copy == INVALID_HANDLE_VALUE) {
            if (IsTaken(GetLastError())) continue;
            return false;
        }
        bool kept = WriteContent(copy, earlier, count);
        CloseHandle(copy);
        if (kept) NameKeptCopy(name, failure);
        if (!kept) DeleteFileA(name);
        return kept;
    }
    return false;
}

static void KeepEarlierContent(const char* path, const uint8_t* earlier, uint32_t count, WriteFailure* failure)
{
    failure->Left = LeftEarlierLost;
    char folder[LongestPathBytes];
    std::snprintf(folder, sizeof folder, "%.*s", FolderLength(path), path);
    if (KeepCopyIn(folder, path, earlier, count, failure)) return;
    DWORD length = GetTempPathA(LongestPathBytes, folder);
    if (length == 0 || length >= LongestPathBytes) return;
    KeepCopyIn(folder, path, earlier, count, failure);
}

// The copy beside the file, closed, takes the name that says what it holds;
// where no such name can be had, it stays under its own. It is named in the
// failure either way.
static void KeepCopyBeside(const char* copyName, const char* path, WriteFailure* failure)
{
    char folder[LongestPathBytes], name[LongestPathBytes];
    std::snprintf(folder, sizeof folder, "%.*s", FolderLength(path), path);
    for (int n = 1; n < 100 && EarlierContentName(folder, path, n, name); ++n) {
        if (MoveFileA(copyName, name)) return NameKeptCopy(name, failure);
        if (!IsTaken(GetLastError())) break;
    }
    NameKeptCopy(copyName, failure);
}

// Puts back what a failed write overwrote, the bytes it got through, and the
// file's size: on most disks that takes no room the file did not have
// already. Where the file still differs (a write that said less than it did,
// a disk that writes each change anew), all of it is written back. True when
// the file, read back and flushed, holds exactly the earlier content.
static bool PutBack(HANDLE file, const uint8_t* earlier, uint32_t count, uint32_t reached)
{
    if (Rewind(file)) WriteAll(file, earlier, reached < count ? reached : count);
    SetSize(file, count);
    if (!Holds(file, earlier, count)) WriteContent(file, earlier, count);
    return Holds(file, earlier, count) && FlushFileBuffers(file);
}

// Where no copy can be made beside the file (a disk with no free entry, a
// folder that takes no new files, a path at the longest, a disk whose room
// the copy would take), the earlier content is read whole first and put back
// when the new content cannot be written whole. A file that cannot be held is
// not touched, nor is one for whose new content the disk has no room.
static bool RewriteFromMemory(HANDLE target, const char* path, const uint8_t* bytes, uint32_t count,
                              WriteFailure* failure)
{
    uint32_t earlierCount = 0;
    uint8_t* earlier = ReadWhole(target, &earlierCount);
    if (!earlier) return false;
    bool written = false;
    if (ReserveRoom(target, count)) {
        uint32_t reached = 0;
        written = WriteContent(target, bytes, count, &reached);
        if (!written && !PutBack(target, earlier, earlierCount, reached))
            KeepEarlierContent(path, earlier, earlierCount, failure);
    }
    HeapFree(GetProcessHeap(), 0, earlier);
    return written;
}

// The existing file keeps being the same file: its other names, the file a
// link points to, its attributes and its rights all stay. Only its content
// changes. A copy of the earlier content beside it puts that content back
// when the new one cannot be written whole; when even that fails, the copy is
// the only whole one left and stays, renamed for what it holds. A copy that
// cannot be made, or not finished (a disk without room for it), is no copy,
// nor is one that leaves no room for the new content: memory holds the
// earlier content instead.
static bool RewriteExistingFile(HANDLE target, const char* path, const uint8_t* bytes, uint32_t count,
                                WriteFailure* failure)
{
    char copyName[LongestPathBytes];
    HANDLE copy = CreateTemporaryFile(path, copyName);
    if (copy == INVALID_HANDLE_VALUE) return RewriteFromMemory(target, path, bytes, count, failure);
    if (!CopyContent(target, copy)) {
        CloseHandle(copy);
        DeleteFileA(copyName);
        return RewriteFromMemory(target, path, bytes, count, failure);
    }
    // The copy may have taken the room the new content needed: without it,
    // from memory, the save may still fit.
    if (!ReserveRoom(target, count)) {
        CloseHandle(copy);
        DeleteFileA(copyName);
        return RewriteFromMemory(target, path, bytes, count, failure);
    }
    bool written = WriteContent(target, bytes, count);
    bool keep = !written && !CopyContent(copy, target);
    CloseHandle(copy);
    if (!keep) {
        DeleteFileA(copyName);
        return written;
    }
    KeepCopyBeside(copyName, path, failure);
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
    CloseHandle(target);
    return written;
}
