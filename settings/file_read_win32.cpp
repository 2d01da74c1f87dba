#include <windows.h>

#include "settings/file_read.h"

// Reads until the file ends or the capacity is full; one byte more than that
// tells a file that is too large, also one that grows while it is read.
int32_t ReadSmallFile(const char* path, uint8_t* bytes, uint32_t capacity, uint32_t* count)
{
    *count = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FileUnreadable;
    int32_t result = FileRead;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, bytes + *count, capacity - *count, &read, nullptr)) {
            result = FileUnreadable;
            break;
        }
        *count += read;
        if (read == 0 || *count == capacity) break;
    }
    // A full buffer: one byte more, or none, says whether that was all. A
    // probe that fails leaves the file unread, not read as far as it came.
    uint8_t more;
    DWORD extra = 0;
    if (result == FileRead && *count == capacity)
        result = !ReadFile(file, &more, 1, &extra, nullptr) ? FileUnreadable : extra > 0 ? FileTooLarge : FileRead;
    CloseHandle(file);
    return result;
}
