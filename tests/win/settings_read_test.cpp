// Reading a settings file whole, where the system fails a read that Wine
// would not.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "settings/file_read.h"
#include "tests/win/support/files.h"
#include "tests/win/support/import_slot.h"

namespace fs = std::filesystem;

extern BOOL(WINAPI* ReadImport)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) IMPORT_SLOT(ReadFile, 20);
static BOOL(WINAPI* const RealRead)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) = ReadImport;
static BOOL WINAPI OneByteFails(HANDLE file, LPVOID bytes, DWORD count, LPDWORD read, LPOVERLAPPED at)
{
    if (count != 1) return RealRead(file, bytes, count, read, at);
    *read = 0;
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

// A file that fills the buffer, then fails the one byte more that says
// whether it ends there: the file cannot be read, not read as far as it came.
TEST(SettingsRead, AFailedReadAfterAFullBufferLeavesTheFileUnread)
{
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    const fs::path path = fs::path(temp) / "varnolt-full-buffer.vns";
    WriteFile(path, Bytes(4096, '\n'));
    static uint8_t bytes[4096];
    uint32_t count = 0;
    ReadImport = OneByteFails;
    const int32_t result = ReadSmallFile(path.string().c_str(), bytes, sizeof bytes, &count);
    ReadImport = RealRead;
    EXPECT_EQ(result, FileUnreadable);
    EXPECT_EQ(ReadSmallFile(path.string().c_str(), bytes, sizeof bytes, &count), FileRead) << "without the fault";
    std::error_code ec;
    fs::remove(path, ec);
}
