// Saving onto disks that fail as Wine's never do: one that says it has no
// room before anything is written, one that writes each change anew and runs
// out part way, a file whose closing fails; and in a folder that takes no new
// file, so that the earlier content is held in memory. The system's answers
// are faked through the import slots of the calls the saving code makes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>

#include "midi/file_write.h"
#include "tests/win/support/files.h"
#include "tests/win/support/import_slot.h"

namespace fs = std::filesystem;

extern FARPROC(WINAPI* LookupImport)(HMODULE, LPCSTR) IMPORT_SLOT(GetProcAddress, 8);
extern BOOL(WINAPI* WriteImport)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) IMPORT_SLOT(WriteFile, 20);
extern BOOL(WINAPI* CloseImport)(HANDLE) IMPORT_SLOT(CloseHandle, 4);
extern HANDLE(WINAPI* CreateImport)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                    HANDLE) IMPORT_SLOT(CreateFileA, 28);

namespace {

FARPROC(WINAPI* RealLookup)(HMODULE, LPCSTR);
BOOL(WINAPI* RealWrite)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
BOOL(WINAPI* RealClose)(HANDLE);
HANDLE(WINAPI* RealCreate)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);

std::string FullFolder;

HANDLE WINAPI CreateInAFullFolder(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE model)
{
    if (disposition == CREATE_NEW && std::strncmp(name, FullFolder.c_str(), FullFolder.size()) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return RealCreate(name, access, share, security, disposition, flags, model);
}

BOOL WINAPI NoRoomToReserve(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD)
{
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

FARPROC WINAPI LookupOnAFullDisk(HMODULE module, LPCSTR name)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && std::strcmp(name, "SetFileInformationByHandle") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(NoRoomToReserve));
    return RealLookup(module, name);
}

// The first file written to takes RoomLeft bytes more and no more, also over
// bytes it holds already, as on a disk that writes every change anew.
HANDLE ShortOfRoom;
DWORD RoomLeft;

BOOL WINAPI WriteRunningOutOfRoom(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (!ShortOfRoom) ShortOfRoom = file;
    if (file != ShortOfRoom) return RealWrite(file, bytes, count, written, overlapped);
    DWORD taken = count < RoomLeft ? count : RoomLeft;
    RoomLeft -= taken;
    *written = 0;
    if (taken > 0 && !RealWrite(file, bytes, taken, written, overlapped)) return FALSE;
    if (taken == count) return TRUE;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI CloseThatFails(HANDLE handle)
{
    RealClose(handle);
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

class SaveFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        top_ = fs::path(temp) / "varnolt-save-faults";
        fs::remove_all(top_);
        fs::create_directories(top_);
        FullFolder = top_.string();
        target_ = (top_ / "piece.mid").string();
        WriteFile(target_, earlier_);
        for (int i = 0; i < 3000; ++i) image_.push_back((uint8_t)(i * 7));
        RealLookup = LookupImport;
        RealWrite = WriteImport;
        RealClose = CloseImport;
        RealCreate = CreateImport;
        CreateImport = CreateInAFullFolder;
    }
    void TearDown() override
    {
        LookupImport = RealLookup;
        WriteImport = RealWrite;
        CloseImport = RealClose;
        CreateImport = RealCreate;
        fs::remove_all(top_);
    }
    fs::path top_;
    std::string target_;
    const Bytes earlier_ = Bytes(5000, 'e');
    Bytes image_;
    WriteFailure failure_;
};

}  // namespace

TEST_F(SaveFaults, WithoutRoomForTheNewContentNothingIsWritten)
{
    LookupImport = LookupOnAFullDisk;
    EXPECT_FALSE(WriteWholeFile(target_.c_str(), image_.data(), (uint32_t)image_.size(), &failure_));
    LookupImport = RealLookup;
    EXPECT_EQ(failure_.Left, LeftEarlier);
    EXPECT_EQ(ReadFile(target_), earlier_);
    EXPECT_EQ(NamesIn(top_), std::vector<std::string>{"piece.mid"});
}

// Putting back the earlier content fails as well: it is kept in the
// temporary folder, or, where that takes no file either, said to be lost.
TEST_F(SaveFaults, EarlierContentThatCannotBePutBackGoesToTheTemporaryFolder)
{
    WriteImport = WriteRunningOutOfRoom;
    ShortOfRoom = nullptr;
    RoomLeft = 1000;
    EXPECT_FALSE(WriteWholeFile(target_.c_str(), image_.data(), (uint32_t)image_.size(), &failure_));
    WriteImport = RealWrite;
    ASSERT_EQ(failure_.Left, LeftEarlierInCopy);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    EXPECT_EQ(fs::path(failure_.KeptCopy).parent_path(), fs::path(temp).parent_path());
    EXPECT_EQ(ReadFile(failure_.KeptCopy), earlier_);
    fs::remove(failure_.KeptCopy);

    WriteFile(target_, earlier_);
    SetEnvironmentVariableA("TMP", (top_ / "no such folder\\").string().c_str());
    WriteImport = WriteRunningOutOfRoom;
    ShortOfRoom = nullptr;
    RoomLeft = 1000;
    EXPECT_FALSE(WriteWholeFile(target_.c_str(), image_.data(), (uint32_t)image_.size(), &failure_));
    WriteImport = RealWrite;
    SetEnvironmentVariableA("TMP", temp);
    EXPECT_EQ(failure_.Left, LeftEarlierLost);
}

TEST_F(SaveFaults, AFileWrittenWholeIsSavedThoughClosingItFails)
{
    const fs::path fresh = top_ / "new.mid";
    CreateImport = RealCreate;
    CloseImport = CloseThatFails;
    EXPECT_TRUE(WriteWholeFile(fresh.string().c_str(), image_.data(), (uint32_t)image_.size()));
    EXPECT_TRUE(WriteWholeFile(target_.c_str(), image_.data(), (uint32_t)image_.size()));
    CloseImport = RealClose;
    EXPECT_EQ(ReadFile(fresh), image_);
    EXPECT_EQ(ReadFile(target_), image_);
}
