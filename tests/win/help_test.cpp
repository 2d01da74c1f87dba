// Help > Contents where the system has no help viewer. Wine hands a web page
// to winebrowser, which starts the program named in its settings: here a
// script that writes down what it was given.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "app/help_win32.h"
#include "tests/win/support/files.h"
#include "tests/win/support/help_viewer_choice.h"
#include "tests/win/support/message_box.h"

namespace fs = std::filesystem;

namespace {

// The Linux name of a file, as Wine's own call gives it.
std::string UnixName(const fs::path& path)
{
    typedef char*(CDECL * UnixNameCall)(LPCWSTR);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    UnixNameCall call = reinterpret_cast<UnixNameCall>(reinterpret_cast<void (*)()>(found));
    char* name = call ? call(path.wstring().c_str()) : nullptr;
    std::string result = name ? name : "";
    if (name) HeapFree(GetProcessHeap(), 0, name);
    return result;
}

void SetValue(HKEY root, const char* key, const char* name, const std::string& value)
{
    RegSetKeyValueA(root, key, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1);
}

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

class HelpContents : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        GetCurrentDirectoryA(sizeof start_, start_);
        top_ = fs::path(temp) / "varnolt-help";
        std::error_code ec;
        fs::remove_all(top_, ec);
        fs::create_directories(top_ / "bin");
        fs::create_directories(top_ / "saved" / "pieces");
        HKEY association;
        ASSERT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, ".html", 0, KEY_READ, &association), ERROR_SUCCESS)
            << "the test prefix has no program for web pages";
        WriteFile(top_ / "browser.sh", Bytes(Script, Script + sizeof Script - 1));
        const std::string browser = "/bin/sh " + UnixName(top_ / "browser.sh");
        SetValue(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", browser);
        window_ = CreateWindowExA(0, "STATIC", "help test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        HelpViewerForTests = false;
    }
    void TearDown() override
    {
        HelpViewerForTests = true;
        DestroyWindow(window_);
        if (associated_) RegDeleteKeyA(HKEY_CLASSES_ROOT, ".html");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers");
        SetCurrentDirectoryA(start_);
        std::error_code ec;
        fs::remove_all(top_, ec);
    }
    // What the browser was given, once it was started.
    std::string BrowserCall()
    {
        for (int i = 0; i < 600 && !fs::exists(top_ / "browser.txt"); ++i) Sleep(50);
        return Text(ReadFile(top_ / "browser.txt"));
    }
    void AssociateWebPages()
    {
        SetValue(HKEY_CLASSES_ROOT, ".html", nullptr, "htmlfile");
        associated_ = true;
    }
    std::string ShowHelp()
    {
        MessageBoxWatcher box;
        ShowHelpContents(window_);
        return box.Text();
    }

    static constexpr char Script[] = "printf '%s\\n' \"$@\" >\"$0.part\" && mv \"$0.part\" \"${0%.sh}.txt\"\n";
    char start_[MAX_PATH] = "";
    fs::path top_;
    HWND window_ = nullptr;
    bool associated_ = false;
};

}  // namespace

// The program started in bin/ finds ../manual.html beside it, also after the
// save dialog moved the current folder elsewhere; only a browser can show it,
// and where there is none, or no manual, the user is told which file it is.
TEST_F(HelpContents, WithoutAViewerTheManualOpensInTheBrowserByItsWholePath)
{
    const fs::path manual = top_ / "manual.html";
    WriteFile(manual, Bytes{'<', 'p', '>'});
    SetCurrentDirectoryA((top_ / "bin").string().c_str());
    FindManuals();
    SetCurrentDirectoryA((top_ / "saved" / "pieces").string().c_str());

    EXPECT_EQ(ShowHelp(), "ERROR: Cannot open the manual " + manual.string());

    AssociateWebPages();
    EXPECT_EQ(ShowHelp(), "");
    EXPECT_EQ(BrowserCall(), "file://" + UnixName(manual) + "\n");

    fs::remove(manual);
    EXPECT_EQ(ShowHelp(), "ERROR: Cannot find the manual " + manual.string());
}
