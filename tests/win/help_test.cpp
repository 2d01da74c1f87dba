// Help > Contents. Whether the system has a help viewer, told by what the
// system answers when asked for its functions. Where it has none: Wine hands
// a web page to winebrowser, which starts the program named in its settings,
// here a shell that writes down what it was given.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/help_viewer.h"
#include "app/help_win32.h"
#include "tests/win/support/files.h"
#include "tests/win/support/import_slot.h"
#include "tests/win/support/message_box.h"

namespace fs = std::filesystem;

extern FARPROC(WINAPI* LookupImport)(HMODULE, LPCSTR) IMPORT_SLOT(GetProcAddress, 8);
static FARPROC(WINAPI* const RealLookup)(HMODULE, LPCSTR) = LookupImport;

// The system a test pretends to be: the functions it has of those that tell
// systems apart, and the version of Windows XP, which the compatibility mode
// of Windows XP makes Windows 10 tell.
static const char* FakeFunctions;
static LONG WINAPI VersionOfXP(OSVERSIONINFOW* version)
{
    version->dwMajorVersion = 5;
    version->dwMinorVersion = 1;
    return 0;
}
static FARPROC WINAPI LookupOnFakeSystem(HMODULE module, LPCSTR name)
{
    if (!HIWORD(reinterpret_cast<ULONG_PTR>(name))) return RealLookup(module, name);
    FARPROC fake = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(VersionOfXP));
    if (std::strcmp(name, "RtlGetVersion") == 0) return fake;
    for (const char* told : {"wine_get_version", "GetTickCount64"})
        if (std::strcmp(name, told) == 0) return std::strstr(FakeFunctions, told) ? fake : nullptr;
    return RealLookup(module, name);
}

TEST(HelpContents, TheViewerIsChosenByTheFunctionsTheSystemHasNotByTheVersionItTells)
{
    LookupImport = LookupOnFakeSystem;
    FakeFunctions = "";
    EXPECT_TRUE(SystemHasHelpViewer()) << "Windows XP";
    FakeFunctions = "GetTickCount64";
    EXPECT_FALSE(SystemHasHelpViewer()) << "Windows 10 in the compatibility mode of Windows XP";
    FakeFunctions = "GetTickCount64 wine_get_version";
    EXPECT_TRUE(SystemHasHelpViewer()) << "Wine";
    LookupImport = RealLookup;
}

static std::string ShowHelp()
{
    MessageBoxWatcher box;
    ShowHelpContents(nullptr);
    return box.Text();
}

// The program started in bin/ finds ../manual.html beside it, also after the
// save dialog moved the current folder elsewhere; only a browser can show it,
// and where there is none, or no manual, the user is told which file it is.
TEST(HelpContents, WithoutAViewerTheManualOpensInTheBrowserByItsWholePath)
{
    HKEY key;
    ASSERT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, ".html", 0, KEY_READ, &key), ERROR_SUCCESS)
        << "the test prefix has no program for web pages";
    // In the build folder, a Z: path: its Linux name is the same without "Z:".
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    const fs::path top = fs::path(exe).parent_path().parent_path() / "help-test";
    std::string linuxTop = top.string().substr(2);
    std::replace(linuxTop.begin(), linuxTop.end(), '\\', '/');
    fs::remove_all(top);
    fs::create_directories(top / "bin");
    fs::create_directories(top / "saved" / "pieces");
    const fs::path manual = top / "manual.html";
    WriteFile(manual, Bytes{'<', 'p', '>'});
    const std::string browser = "/bin/sh -c \"printf %s \\\"$0\\\" >" + linuxTop + "/call.part && mv " + linuxTop +
                                "/call.part " + linuxTop + "/call.txt\"";
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", REG_SZ, browser.c_str(),
                    (DWORD)browser.size() + 1);
    LookupImport = LookupOnFakeSystem;
    FakeFunctions = "GetTickCount64";
    char start[MAX_PATH];
    GetCurrentDirectoryA(sizeof start, start);
    SetCurrentDirectoryA((top / "bin").string().c_str());
    FindManuals();
    SetCurrentDirectoryA((top / "saved" / "pieces").string().c_str());

    EXPECT_EQ(ShowHelp(), "ERROR: Cannot open the manual " + manual.string());

    RegSetKeyValueA(HKEY_CLASSES_ROOT, ".html", nullptr, REG_SZ, "htmlfile", 9);
    EXPECT_EQ(ShowHelp(), "");
    for (int i = 0; i < 600 && !fs::exists(top / "call.txt"); ++i) Sleep(50);
    const Bytes call = ReadFile(top / "call.txt");
    EXPECT_EQ(std::string(call.begin(), call.end()), "file://" + linuxTop + "/manual.html");

    fs::remove(manual);
    EXPECT_EQ(ShowHelp(), "ERROR: Cannot find the manual " + manual.string());

    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".html");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers");
    LookupImport = RealLookup;
    SetCurrentDirectoryA(start);
    fs::remove_all(top);
}
