#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/compose.h"
#include "engine/random.h"
#include "midi/file_write.h"
#include "midi/save_win32.h"
#include "midi/smf.h"
#include "settings/file_read.h"
#include "settings/settings.h"
#include "tests/win/support/files.h"
#include "tests/win/support/import_slot.h"
#include "tests/win/support/message_box.h"
#include "tests/win/support/save_dialog_user.h"

namespace fs = std::filesystem;

namespace {

Bytes ImageNow()
{
    BuildMidiImage();
    return Bytes(FileImage, FileImage + FileImageCount);
}

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        Settings.VoiceActive[2] = 1;
        Settings.FormSelection[2][0] = 1;
        DrawRandomPool();
        Compose();
        SongFileName[0] = 0;
        HasSongFileName = 0;
        InitSaveDialog();
        owner_ = CreateWindowExA(0, "STATIC", "save test owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        folder_ = fs::path(temp) /
                  ("varnolt-save-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        RemoveFolder();
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        DestroyWindow(owner_);
        RemoveFolder();
    }
    void RemoveFolder()
    {
        std::error_code ec;
        if (!fs::exists(folder_, ec)) return;
        for (auto& entry : fs::directory_iterator(folder_, ec))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ec);
    }
    std::vector<std::string> FolderNames() { return NamesIn(folder_); }
    std::string PathOf(const char* name) { return (folder_ / name).string(); }

    HWND owner_ = nullptr;
    fs::path folder_;
};

}  // namespace

TEST_F(SaveTest, SaveAsKeepsTheNameAsTypedAndSaveThenWritesThereWithoutADialog)
{
    std::string path = PathOf("first piece");
    {
        SaveDialogUser user(owner_, SaveDialogUser::TypeName, path);
        EXPECT_TRUE(SaveSongAs(owner_));
        EXPECT_TRUE(user.Stop());
        EXPECT_FALSE(user.AskedToReplace());
    }
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"first piece"}) << "no extension is added";
    EXPECT_STREQ(SongFileName, path.c_str());
    EXPECT_EQ(HasSongFileName, 1);
    EXPECT_EQ(ReadFile(path), ImageNow());

    // A new tempo, then Save: the same file, replaced without a question.
    WriteTempoIndex(0);
    {
        SaveDialogUser watcher(owner_, SaveDialogUser::Cancel);
        SaveSong(owner_);
        EXPECT_FALSE(watcher.Stop()) << "Save showed a dialog";
    }
    Bytes saved = ReadFile(path);
    ASSERT_EQ(saved.size(), FileImageCount);
    EXPECT_EQ(saved[35], 0x5B);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"first piece"});
}

TEST_F(SaveTest, CancelWritesNothingAndTheNextSaveAsksAgain)
{
    std::strcpy(SongFileName, "");
    {
        SaveDialogUser user(owner_, SaveDialogUser::Cancel);
        EXPECT_FALSE(SaveSongAs(owner_));
        EXPECT_TRUE(user.Stop());
    }
    EXPECT_EQ(HasSongFileName, 0);
    EXPECT_STREQ(SongFileName, "");
    {
        SaveDialogUser user(owner_, SaveDialogUser::Cancel);
        SaveSong(owner_);
        EXPECT_TRUE(user.Stop()) << "Save without a name opens the dialog";
    }
    EXPECT_TRUE(FolderNames().empty());

    // After a confirmed name, a cancelled Save As keeps that name.
    std::string path = PathOf("kept.mid");
    {
        SaveDialogUser user(owner_, SaveDialogUser::TypeName, path);
        EXPECT_TRUE(SaveSongAs(owner_));
    }
    {
        SaveDialogUser user(owner_, SaveDialogUser::Cancel);
        EXPECT_FALSE(SaveSongAs(owner_));
        EXPECT_TRUE(user.Stop());
    }
    EXPECT_STREQ(SongFileName, path.c_str());
    EXPECT_EQ(HasSongFileName, 1);
}

TEST_F(SaveTest, AnExistingFileIsReplacedOnlyAfterTheDialogAsks)
{
    std::string path = PathOf("old.mid");
    WriteFile(path, Bytes(150000, 0x55));
    {
        SaveDialogUser user(owner_, SaveDialogUser::TypeName, path);
        EXPECT_TRUE(SaveSongAs(owner_));
        EXPECT_TRUE(user.AskedToReplace());
    }
    EXPECT_EQ(ReadFile(path), ImageNow());
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"old.mid"});
}

// A disk that says before the first byte that the new content will not fit, as
// Windows does and Wine cannot: one without room, or, where DiskSettingAside
// names a folder, the disk of that folder with the room it has free.
extern FARPROC(WINAPI* LookupImport)(HMODULE, LPCSTR) IMPORT_SLOT(GetProcAddress, 8);
static FARPROC(WINAPI* const RealLookup)(HMODULE, LPCSTR) = LookupImport;
static const char* DiskSettingAside;
static BOOL WINAPI NoRoomToSetAside(HANDLE file, FILE_INFO_BY_HANDLE_CLASS, LPVOID information, DWORD)
{
    ULARGE_INTEGER free{};
    LARGE_INTEGER size{};
    if (DiskSettingAside) GetDiskFreeSpaceExA(DiskSettingAside, &free, nullptr, nullptr);
    GetFileSizeEx(file, &size);
    if (((FILE_ALLOCATION_INFO*)information)->AllocationSize.QuadPart - size.QuadPart <= (LONGLONG)free.QuadPart)
        return TRUE;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
static FARPROC WINAPI LookupOnAFullDisk(HMODULE module, LPCSTR name)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && std::strcmp(name, "SetFileInformationByHandle") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(NoRoomToSetAside));
    return RealLookup(module, name);
}

TEST_F(SaveTest, AFileThatCannotBeWrittenIsReportedAndTheEarlierFileSurvives)
{
    std::string missing = PathOf("no such folder\\piece.mid");
    {
        MessageBoxWatcher box;
        EXPECT_FALSE(WriteMidiFile(missing.c_str()));
        EXPECT_EQ(box.Text(), "ERROR: Cannot write file " + missing);
    }

    std::string locked = PathOf("locked.mid");
    const Bytes earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    WriteFile(locked, earlier);
    // Read-only, then on a disk without room for the new content.
    for (bool readOnly : {true, false}) {
        ASSERT_TRUE(SetFileAttributesA(locked.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
        LookupImport = readOnly ? RealLookup : LookupOnAFullDisk;
        MessageBoxWatcher box;
        EXPECT_FALSE(WriteMidiFile(locked.c_str()));
        LookupImport = RealLookup;
        EXPECT_EQ(box.Text(), "ERROR: Cannot write file " + locked + "\nIt keeps its earlier content");
    }
    EXPECT_EQ(ReadFile(locked), earlier);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"locked.mid"}) << "no temporary file is left";
}

// A file written and flushed whole is saved, though closing it fails (a
// network share that went away in between): it is neither reported as failed
// nor, when new, deleted.
extern BOOL(WINAPI* CloseImport)(HANDLE) IMPORT_SLOT(CloseHandle, 4);
static BOOL(WINAPI* const RealClose)(HANDLE) = CloseImport;
static BOOL WINAPI CloseThatFails(HANDLE handle)
{
    RealClose(handle);
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

TEST_F(SaveTest, AFileWrittenWholeIsSavedThoughClosingItFails)
{
    const std::string fresh = PathOf("new.mid"), earlier = PathOf("earlier.mid");
    WriteFile(earlier, Bytes{1, 2, 3});
    const Bytes image = ImageNow();
    CloseImport = CloseThatFails;
    EXPECT_TRUE(WriteWholeFile(fresh.c_str(), image.data(), (uint32_t)image.size()));
    EXPECT_TRUE(WriteWholeFile(earlier.c_str(), image.data(), (uint32_t)image.size()));
    CloseImport = RealClose;
    EXPECT_EQ(ReadFile(fresh), image);
    EXPECT_EQ(ReadFile(earlier), image);
}

TEST_F(SaveTest, AConfirmedNameIsKeptEvenWhenItsFileCannotBeWritten)
{
    std::string locked = PathOf("locked.mid");
    WriteFile(locked, Bytes{1, 2, 3});
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        MessageBoxWatcher box;
        SaveDialogUser user(owner_, SaveDialogUser::TypeName, locked);
        EXPECT_TRUE(SaveSongAs(owner_));
        EXPECT_EQ(box.Text(), "ERROR: Cannot write file " + locked + "\nIt keeps its earlier content");
    }
    EXPECT_EQ(HasSongFileName, 1);
    EXPECT_STREQ(SongFileName, locked.c_str());
    EXPECT_EQ(ReadFile(locked), (Bytes{1, 2, 3}));
}

// Two folders of 60 Cyrillic letters each under the test's folder: the whole
// path of a short name in them is far within the system's 260 characters,
// but takes more than 260 bytes in UTF-8, the program's code page.
static std::string CyrillicFolder(const fs::path& top)
{
    std::string letters;
    for (int i = 0; i < 60; ++i) letters += "\xd0\xb6";  // U+0436, two bytes in UTF-8
    std::string folder = top.u8string();
    for (int level = 0; level < 2; ++level) {
        folder += "\\" + letters;
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    }
    return folder;
}

static size_t Utf16Length(const std::string& utf8)
{
    return fs::u8path(utf8).wstring().size();
}

TEST_F(SaveTest, LongPathOutsideTheCodePage)
{
    ASSERT_EQ(GetACP(), (UINT)CP_UTF8) << "the tests run under the program's manifest";
    const std::string folder = CyrillicFolder(folder_);
    const std::string path = folder + "\\piece.mid";
    ASSERT_GT(path.size(), 260u);
    ASSERT_LT(Utf16Length(path), 220u) << "room beside it for the copy's name";
    {
        MessageBoxWatcher box;
        SaveDialogUser user(owner_, SaveDialogUser::TypeName, path);
        EXPECT_TRUE(SaveSongAs(owner_)) << "a path of " << Utf16Length(path) << " characters, " << path.size()
                                        << " bytes";
        EXPECT_TRUE(user.Stop());
        EXPECT_EQ(box.Text(), "");
    }
    // A name cut short would bring up the dialog's own questions next time.
    ASSERT_STREQ(SongFileName, path.c_str());
    EXPECT_EQ(HasSongFileName, 1);
    EXPECT_EQ(ReadFile(fs::u8path(path)), ImageNow());

    // Save As onto the same file, after a new tempo: the dialog asks, the file
    // is replaced and nothing else stands beside it.
    WriteTempoIndex(0);
    {
        SaveDialogUser user(owner_, SaveDialogUser::TypeName, path);
        EXPECT_TRUE(SaveSongAs(owner_));
        EXPECT_TRUE(user.AskedToReplace());
    }
    EXPECT_EQ(ReadFile(fs::u8path(path)), ImageNow());

    // A rewrite that fails part way (its second 64 KB cannot be read) puts the
    // earlier content back from the copy beside the file, whose name in this
    // folder takes more than 260 bytes.
    const size_t page = 64 * 1024;
    uint8_t* image = (uint8_t*)VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD old;
    ASSERT_TRUE(VirtualProtect(image + page, page, PAGE_NOACCESS, &old));
    EXPECT_FALSE(WriteWholeFile(path.c_str(), image, (uint32_t)(page + 100)));
    VirtualFree(image, 0, MEM_RELEASE);
    EXPECT_EQ(ReadFile(fs::u8path(path)), ImageNow());
    EXPECT_EQ(NamesIn(fs::u8path(folder)), std::vector<std::string>{"piece.mid"});
}

// SaveSongAs calls the dialog through the test program's import slot. Pointed
// at this stand-in, the real dialog gets room for 8 bytes only, and a longer
// name makes it fail with FNERR_BUFFERTOOSMALL (0x3003).
extern BOOL(WINAPI* SaveDialogImport)(LPOPENFILENAMEA) IMPORT_SLOT(GetSaveFileNameA, 4);
extern BOOL(WINAPI* WriteImport)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) IMPORT_SLOT(WriteFile, 20);
static BOOL(WINAPI* RealSaveDialog)(LPOPENFILENAMEA);
static BOOL WINAPI CrampedSaveDialog(LPOPENFILENAMEA dialog)
{
    OPENFILENAMEA cramped = *dialog;
    cramped.nMaxFile = 8;
    return RealSaveDialog(&cramped);
}

TEST_F(SaveTest, ADialogThatFailsIsReportedAndChangesNothing)
{
    std::strcpy(SongFileName, "kept");
    RealSaveDialog = SaveDialogImport;
    SaveDialogImport = CrampedSaveDialog;
    {
        MessageBoxWatcher box;
        SaveDialogUser user(owner_, SaveDialogUser::TypeName, PathOf("piece.mid"));
        EXPECT_FALSE(SaveSongAs(owner_));
        SaveDialogImport = RealSaveDialog;
        EXPECT_EQ(box.Text(), "ERROR: Save dialog failed with code 0x3003; nothing was saved");
    }
    EXPECT_STREQ(SongFileName, "kept");
    EXPECT_EQ(HasSongFileName, 0);
    EXPECT_TRUE(FolderNames().empty());
}

TEST(WholeFileWrite, ReplacesAnEarlierFileInOnePieceAndLeavesNothingBeside)
{
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    fs::path folder = fs::path(temp) / "varnolt-whole-file";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    fs::path target = folder / "piece.mid";
    WriteFile(target, Bytes(190000, 0x11));
    Bytes image(170000);
    for (size_t i = 0; i < image.size(); ++i) image[i] = (uint8_t)(i * 7 + i / 256);
    ASSERT_TRUE(WriteWholeFile(target.string().c_str(), image.data(), (uint32_t)image.size()));
    EXPECT_EQ(ReadFile(target), image);
    ASSERT_TRUE(WriteWholeFile(target.string().c_str(), image.data(), 3));
    EXPECT_EQ(ReadFile(target), Bytes(image.begin(), image.begin() + 3));
    EXPECT_FALSE(WriteWholeFile("", image.data(), 3));
    EXPECT_FALSE(WriteWholeFile(folder.string().c_str(), image.data(), 3)) << "a folder is not replaced";
    EXPECT_TRUE(fs::is_directory(folder));
    // A file held open without sharing cannot be replaced: the written
    // temporary file is removed again.
    HANDLE held = CreateFileA(target.string().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteWholeFile(target.string().c_str(), image.data(), (uint32_t)image.size()));
    CloseHandle(held);
    EXPECT_EQ(ReadFile(target), Bytes(image.begin(), image.begin() + 3));
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"piece.mid"});
    fs::remove_all(folder, ec);
}

// A name as long as the system allows, in a deep folder, and a short name in a
// folder so deep that no temporary name fits beside it: both are written and
// rewritten like any other, and nothing else is left beside them.
TEST(WholeFileWrite, NamesNearTheLongestPathAreWritten)
{
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    const fs::path top = fs::path(temp) / "varnolt-long-name";
    std::error_code ec;
    fs::remove_all(top, ec);
    fs::path folder = top;
    while (folder.string().size() < MAX_PATH - 60) folder /= std::string(20, 'f');
    ASSERT_TRUE(fs::create_directories(folder));
    const size_t room = MAX_PATH - 1 - folder.string().size() - 1;
    const fs::path longest = folder / std::string(room, 'n');
    ASSERT_EQ(longest.string().size(), (size_t)MAX_PATH - 1);
    fs::path deep = folder / std::string(room - 12, 'd');
    ASSERT_TRUE(fs::create_directories(deep));
    const fs::path shortName = deep / "a.mid";
    const Bytes image = {'M', 'T', 'h', 'd'};

    for (const fs::path& target : {longest, shortName}) {
        EXPECT_TRUE(WriteWholeFile(target.string().c_str(), image.data(), (uint32_t)image.size())) << target;
        EXPECT_EQ(ReadFile(target), image);
        EXPECT_TRUE(WriteWholeFile(target.string().c_str(), image.data(), 2)) << "rewriting " << target;
        EXPECT_EQ(ReadFile(target), Bytes(image.begin(), image.begin() + 2));
    }
    EXPECT_EQ(NamesIn(deep), std::vector<std::string>{"a.mid"});
    EXPECT_EQ(NamesIn(folder).size(), 2u);
    fs::remove_all(top, ec);
}

// Run by save_keeps_target.sh with VARNOLT_TARGET_FOLDER naming a folder that
// holds link.mid (a link to real.mid), one.mid and two.mid (two names of one
// file) and private.mid (readable by its owner only). Saving onto each must
// change only their content: the script looks at the links and rights after.
TEST(KeptTarget, ASaveRewritesTheFileTheUserNamed)
{
    const char* folder = std::getenv("VARNOLT_TARGET_FOLDER");
    ASSERT_NE(folder, nullptr) << "run me through save_keeps_target.sh";
    auto path = [&](const char* name) { return (fs::path(folder) / name).string(); };
    ResetSettings();
    Settings.VoiceActive[4] = 1;
    DrawRandomPool();
    Compose();
    const Bytes image = ImageNow();
    const std::string hidden = path("private.mid");
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const DWORD attributesBefore = GetFileAttributesA(hidden.c_str());

    for (const char* name : {"link.mid", "one.mid", "private.mid"}) EXPECT_TRUE(WriteMidiFile(path(name).c_str()));
    EXPECT_EQ(ReadFile(path("real.mid")), image) << "the file the link points to";
    EXPECT_EQ(ReadFile(path("two.mid")), image) << "the other name of one.mid";
    EXPECT_EQ(ReadFile(hidden), image);
    EXPECT_EQ(GetFileAttributesA(hidden.c_str()), attributesBefore);
}

// Every voice and every slot: 83,240 bytes.
static void ComposeLargestPiece()
{
    ResetSettings();
    for (int v = 0; v < VoiceCount; ++v) {
        Settings.VoiceActive[v] = 1;
        for (int s = 0; s < FormCount; ++s) Settings.FormSelection[v][s] = 1;
    }
    DrawRandomPool();
    Compose();
}

// Run by save_full_disk.sh with VARNOLT_FULL_FOLDER naming a folder on a disk
// with little room left that holds piece.mid: the largest piece cannot be
// written there, the user is told, and the earlier piece.mid is all that stays.
TEST(FullDisk, TheEarlierFileSurvivesAndNoPartOfTheNewOneStays)
{
    const char* folder = std::getenv("VARNOLT_FULL_FOLDER");
    ASSERT_NE(folder, nullptr) << "run me through save_full_disk.sh";
    const fs::path target = fs::path(folder) / "piece.mid";
    const Bytes earlier = ReadFile(target);
    ASSERT_FALSE(earlier.empty());
    const std::vector<std::string> namesBefore = NamesIn(folder);
    ComposeLargestPiece();
    {
        MessageBoxWatcher box;
        EXPECT_FALSE(WriteMidiFile(target.string().c_str()));
        EXPECT_EQ(box.Text(), "ERROR: Cannot write file " + target.string() + "\nIt keeps its earlier content");
    }
    EXPECT_EQ(ReadFile(target), earlier);
    EXPECT_EQ(NamesIn(folder), namesBefore) << "a temporary file was left behind";
}

// Saves the largest piece onto piece.mid in VARNOLT_FULL_FOLDER, which fails;
// the copy that the box names, which must hold the earlier content and be an
// ordinary file named for what it holds.
static fs::path CopyKeptOfTheEarlierContent(const char* expectedName)
{
    const char* folder = std::getenv("VARNOLT_FULL_FOLDER");
    EXPECT_NE(folder, nullptr) << "run me through save_full_disk.sh";
    const std::string target = (fs::path(folder ? folder : "") / "piece.mid").string();
    const Bytes earlier = ReadFile(target);
    ComposeLargestPiece();
    std::string text;
    {
        MessageBoxWatcher box;
        EXPECT_FALSE(WriteMidiFile(target.c_str()));
        text = box.Text();
    }
    const std::string head = "ERROR: Cannot write file " + target + "\nIts earlier content is kept in ";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const fs::path copy = text.substr(std::min(head.size(), text.size()));
    EXPECT_EQ(ReadFile(copy), earlier);
    EXPECT_EQ(copy.filename().string(), expectedName);
    EXPECT_EQ(GetFileAttributesA(copy.string().c_str()) & (FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN), 0u);
    return copy;
}

// Run by save_full_disk.sh like the test above, but piece.mid is mostly a hole
// that takes no room on the disk: its copy fits, the new content does not, and
// neither does putting the earlier content back. The copy must stay, named.
TEST(FullDisk, ACopyThatCannotBePutBackIsKeptAndNamed)
{
    const fs::path copy = CopyKeptOfTheEarlierContent("piece (earlier content).mid");
    EXPECT_EQ(copy.parent_path(), fs::path(std::getenv("VARNOLT_FULL_FOLDER")));
}

// A disk that writes every change anew: once a file found no room, rewriting
// even the bytes it holds finds none either.
static BOOL(WINAPI* RealWrite)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
static HANDLE FileWithoutRoom;
static BOOL WINAPI WriteCopyingOnWrite(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED at)
{
    *written = 0;
    if (file != FileWithoutRoom && RealWrite(file, bytes, count, written, at) && *written == count) return TRUE;
    FileWithoutRoom = file;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// Run by save_full_disk.sh on a disk with no free entry, so that the earlier
// content is held in memory, and as a disk that writes every change anew, so
// that it cannot be put back: it must be kept in the temporary folder, beside
// a copy kept there before, which stays as it was.
TEST(FullDisk, EarlierContentThatCannotBePutBackIsKeptInTheTemporaryFolder)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const fs::path before = fs::path(temp) / "piece (earlier content).mid";
    WriteFile(before, Bytes{'o', 'l', 'd'});
    RealWrite = WriteImport;
    WriteImport = WriteCopyingOnWrite;
    const fs::path copy = CopyKeptOfTheEarlierContent("piece (earlier content 2).mid");
    WriteImport = RealWrite;
    EXPECT_EQ(copy.parent_path(), fs::path(temp).parent_path());
    EXPECT_EQ(ReadFile(before), (Bytes{'o', 'l', 'd'}));
    fs::remove(copy);
    fs::remove(before);
}

// Run by save_full_disk.sh on a disk with room for the new content or for a
// copy of piece.mid, not for both: the save goes through memory.
TEST(FullDisk, TheNewContentGetsTheRoomACopyWouldTake)
{
    const char* folder = std::getenv("VARNOLT_FULL_FOLDER");
    ASSERT_NE(folder, nullptr) << "run me through save_full_disk.sh";
    const fs::path target = fs::path(folder) / "piece.mid";
    const std::vector<std::string> namesBefore = NamesIn(folder);
    ComposeLargestPiece();
    DiskSettingAside = folder;
    LookupImport = LookupOnAFullDisk;
    MessageBoxWatcher box;
    EXPECT_TRUE(WriteMidiFile(target.string().c_str()));
    EXPECT_EQ(box.Text(), "");
    LookupImport = RealLookup;
    EXPECT_EQ(ReadFile(target), ImageNow());
    EXPECT_EQ(NamesIn(folder), namesBefore);
}

// A folder that takes no new files, so that the earlier content waits in
// memory, and a disk whose failed write put all of its bytes down but says it
// put none, as Windows may: the put-back must find the difference and write
// the earlier content whole.
extern HANDLE(WINAPI* CreateImport)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                    HANDLE) IMPORT_SLOT(CreateFileA, 28);
static decltype(CreateImport) const RealCreate = CreateImport;
static HANDLE WINAPI NoNewFiles(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE model)
{
    return disposition == CREATE_NEW ? INVALID_HANDLE_VALUE
                                     : RealCreate(name, access, share, security, disposition, flags, model);
}
static BOOL WINAPI WriteMoreThanSaidOnce(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED at)
{
    WriteImport = RealWrite;
    RealWrite(file, bytes, count, written, at);
    *written = 0;
    return FALSE;
}

TEST_F(SaveTest, AFailedWriteThatSaidLessThanItWroteIsPutBackWhole)
{
    const std::string path = PathOf("piece.mid");
    const Bytes earlier(1000, 0x11), image(800, 0x22);
    WriteFile(path, earlier);
    RealWrite = WriteImport;
    WriteImport = WriteMoreThanSaidOnce;
    CreateImport = NoNewFiles;
    EXPECT_FALSE(WriteWholeFile(path.c_str(), image.data(), (uint32_t)image.size()));
    CreateImport = RealCreate;
    WriteImport = RealWrite;
    EXPECT_EQ(ReadFile(path), earlier);
}

// A settings file that fills the buffer, then fails the one byte more that
// says whether it ends there: it is unread, not read as far as it came.
extern BOOL(WINAPI* ReadImport)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) IMPORT_SLOT(ReadFile, 20);
static decltype(ReadImport) const RealRead = ReadImport;
static BOOL WINAPI OneByteFails(HANDLE file, LPVOID bytes, DWORD count, LPDWORD read, LPOVERLAPPED at)
{
    *read = 0;
    return count != 1 && RealRead(file, bytes, count, read, at);
}

TEST_F(SaveTest, ASettingsFileWhoseProbeReadFailsIsUnread)
{
    WriteFile(PathOf("full.vns"), Bytes(4096, '\n'));
    static uint8_t bytes[4096];
    uint32_t count = 0;
    ReadImport = OneByteFails;
    EXPECT_EQ(ReadSmallFile(PathOf("full.vns").c_str(), bytes, sizeof bytes, &count), FileUnreadable);
    ReadImport = RealRead;
}
