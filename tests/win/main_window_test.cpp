// The main window built from the real class, menu and toolbar bitmap, driven
// by its own commands: what is enabled when, where the two lines are painted,
// and where each command goes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_win32.h"
#include "app/main_window_win32.h"
#include "app/piece_view_win32.h"
#include "app/program_win32.h"
#include "events/events.h"
#include "midi/save_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/main_window_user.h"
#include "tests/win/support/import_slot.h"
#include "tests/win/support/message_box.h"
#include "tests/win/support/recording_midi_out.h"
#include "tests/win/support/save_dialog_user.h"

namespace {

enum { WineTimerSlots = 16 };

bool MenuEnabled(UINT id)
{
    UINT state = GetMenuState(GetMenu(MainWindow), id, MF_BYCOMMAND);
    return state != (UINT)-1 && !(state & (MF_GRAYED | MF_DISABLED));
}

bool ButtonEnabled(UINT id)
{
    return SendMessageA(MainToolbar, TB_ISBUTTONENABLED, id, 0) != 0;
}

// The columns of the command states, '+' enabled and '-' greyed: the menu's
// Save, Save As, Compose, Play, Stop and Forms, then the toolbar's Save, Play, Stop.
std::string Commands()
{
    std::string s;
    for (UINT id : {IDM_SAVE, IDM_SAVEAS, IDM_COMPOSE, IDM_PLAY, IDM_STOP, IDM_FORMS}) s += MenuEnabled(id) ? '+' : '-';
    s += '|';
    for (UINT id : {IDB_BUTTON_SAVE, IDB_BUTTON_PLAY, IDB_BUTTON_STOP}) s += ButtonEnabled(id) ? '+' : '-';
    return s;
}

const char* const Empty = "--+---|---";
const char* const Idle = "-+++-+|++-";
const char* const IdleNamed = "++++-+|++-";
const char* const Playing = "-+--++|+-+";
const char* const PlayingNamed = "++--++|+-+";

int CountRecorded(RecordedAction action)
{
    int count = 0;
    for (const RecordedMidi& entry : RecordedMidiLog()) count += entry.Action == action;
    return count;
}

int RecordedOpens()
{
    return CountRecorded(RecordedOpen);
}

int RecordedSends()
{
    return CountRecorded(RecordedSend);
}

void Command(int id)
{
    SendMessageA(MainWindow, WM_COMMAND, id, 0);
}

// Presses a toolbar button with the mouse, as the user would.
void ClickButton(int id)
{
    RECT place{};
    int index = (int)SendMessageA(MainToolbar, TB_COMMANDTOINDEX, id, 0);
    SendMessageA(MainToolbar, TB_GETITEMRECT, index, (LPARAM)&place);
    LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    SendMessageA(MainToolbar, WM_MOUSEMOVE, 0, at);
    SendMessageA(MainToolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(MainToolbar, WM_LBUTTONUP, 0, at);
}

std::string TempFile(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "varnolt-main-window-" + name;
    DeleteFileA(path.c_str());
    return path;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Occupies the system's multimedia timers so that the next one cannot be
// started. Wine holds sixteen, and a one-shot timer keeps its place until
// its callback has returned.
class TimerHog {
public:
    explicit TimerHog(int count)
    {
        for (int i = 0; i < count; ++i) {
            UINT id = timeSetEvent(60000, 0, Nothing, 0, TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
            if (id) ids_.push_back(id);
        }
    }
    ~TimerHog()
    {
        for (UINT id : ids_) timeKillEvent(id);
    }
    int Held() const { return (int)ids_.size(); }

private:
    static void CALLBACK Nothing(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}
    std::vector<UINT> ids_;
};

// A small piece: voice 1 only, two forms of 64th notes at 200 beats a minute,
// well under a second.
void ChooseShortPiece()
{
    for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = 6;
    WriteTempoIndex(TempoCount - 1);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRecordingMidiOut();
        HasSongFileName = 0;
        SongFileName[0] = 0;
        window_ = OpenMainWindow();
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { CloseMainWindow(window_); }
    void Compose()
    {
        Command(IDM_COMPOSE);
    }
    // Plays and waits for the output to be opened; the first Events sound a
    // second later.
    void Play()
    {
        Command(IDM_PLAY);
        Pump(20);
    }

    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, StartsWithNothingToSavePlayOrStopAndNamesItsButtons)
{
    EXPECT_EQ(MainWindow, window_);
    EXPECT_EQ(AppInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(Commands(), Empty);
    for (UINT id : {IDM_MATRIX, IDM_SERIES, IDM_VOICES, IDM_OCTAVES, IDM_MIDI, IDM_HELPCONTENTS, IDM_ABOUT})
        EXPECT_TRUE(MenuEnabled(id)) << id;

    char caption[32] = "";
    GetWindowTextA(window_, caption, sizeof caption);
    EXPECT_STREQ(caption, "Varnolt");
    EXPECT_EQ(GetParent(MainToolbar), window_);
    EXPECT_EQ(GetDlgCtrlID(MainToolbar), IDC_MAINTOOLBAR);
    // A screen reader says a button's tooltip as its name: that of its menu twin.
    HWND tips = (HWND)SendMessageA(MainToolbar, TB_GETTOOLTIPS, 0, 0);
    for (auto [button, name] : {std::pair<UINT, std::string>{IDB_BUTTON_SAVE, "Save"}, {IDB_BUTTON_PLAY, "Play"},
                                {IDB_BUTTON_STOP, "Stop"}}) {
        char tip[80] = "";
        TOOLINFOA tool{sizeof tool, 0, MainToolbar, button, {}, nullptr, tip, 0, nullptr};
        SendMessageA(tips, TTM_GETTEXTA, sizeof tip, (LPARAM)&tool);
        EXPECT_EQ(tip, name);
    }
}

TEST_F(MainWindowTest, ComposeOffersSaveAsAndPlayAndSaveOnlyOnceANameIsKnown)
{
    Compose();
    EXPECT_EQ(Commands(), Idle);
    EXPECT_TRUE(VoiceTracks[0].Active);

    // A name chosen meanwhile through the toolbar's Save shows at the next Compose.
    HasSongFileName = 1;
    EXPECT_EQ(Commands(), Idle);
    Compose();
    EXPECT_EQ(Commands(), IdleNamed);
}

TEST_F(MainWindowTest, ConfirmedSaveAsEnablesSaveAndACancelledOneChangesNothing)
{
    Compose();
    std::string path = TempFile("save-as.mid");
    {
        SaveDialogUser user(MainWindow, SaveDialogUser::Cancel);
        Command(IDM_SAVEAS);
        EXPECT_TRUE(user.Stop());
    }
    EXPECT_EQ(Commands(), Idle);
    EXPECT_FALSE(FileExists(path));
    {
        SaveDialogUser user(MainWindow, SaveDialogUser::TypeName, path);
        Command(IDM_SAVEAS);
        EXPECT_TRUE(user.Stop());
    }
    EXPECT_EQ(Commands(), IdleNamed);
    EXPECT_TRUE(FileExists(path));

    // From now on the menu's Save writes without asking.
    DeleteFileA(path.c_str());
    {
        SaveDialogUser user(MainWindow, SaveDialogUser::Cancel);
        Command(IDM_SAVE);
        EXPECT_FALSE(user.Stop());
    }
    EXPECT_TRUE(FileExists(path));
    DeleteFileA(path.c_str());
}

TEST_F(MainWindowTest, ToolbarSaveAsksForANameOnceButLeavesTheMenusSaveGreyed)
{
    Compose();
    std::string path = TempFile("toolbar-save.mid");
    {
        SaveDialogUser user(MainWindow, SaveDialogUser::TypeName, path);
        ClickButton(IDB_BUTTON_SAVE);
        EXPECT_TRUE(user.Stop());
    }
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(Commands(), Idle);

    DeleteFileA(path.c_str());
    {
        SaveDialogUser user(MainWindow, SaveDialogUser::Cancel);
        ClickButton(IDB_BUTTON_SAVE);
        EXPECT_FALSE(user.Stop());
    }
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(Commands(), Idle);
    DeleteFileA(path.c_str());
}

TEST_F(MainWindowTest, DisabledButtonsDoNothingBeforeTheFirstCompose)
{
    {
        SaveDialogUser user(MainWindow, SaveDialogUser::Cancel);
        ClickButton(IDB_BUTTON_SAVE);
        ClickButton(IDB_BUTTON_PLAY);
        EXPECT_FALSE(user.Stop());
    }
    EXPECT_EQ(RecordedOpens(), 0);
    EXPECT_EQ(Commands(), Empty);
}

TEST_F(MainWindowTest, PlayingGreysComposeAndPlayAndStopReturnsToIdle)
{
    Compose();
    Play();
    EXPECT_EQ(RecordedOpens(), 1);
    EXPECT_EQ(Commands(), Playing);
    // Everything else stays usable while a piece plays.
    for (UINT id : {IDM_SAVEAS, IDM_OPENSETTINGS, IDM_SAVESETTINGS, IDM_MATRIX, IDM_SERIES, IDM_VOICES, IDM_OCTAVES,
                    IDM_MIDI, IDM_HELPCONTENTS, IDM_ABOUT})
        EXPECT_TRUE(MenuEnabled(id)) << id;

    Command(IDM_STOP);
    EXPECT_TRUE(PumpUntil([] { return Commands() == Idle; }, 2000)) << Commands();
    EXPECT_TRUE(PumpUntil([] { return !RecordingMidiOutOpen(); }, 2000));
}

TEST_F(MainWindowTest, ToolbarPlayAndStopWorkLikeTheMenu)
{
    Compose();
    ClickButton(IDB_BUTTON_PLAY);
    Pump(20);
    EXPECT_EQ(RecordedOpens(), 1);
    EXPECT_EQ(Commands(), Playing);
    ClickButton(IDB_BUTTON_PLAY);  // disabled now
    Pump(20);
    EXPECT_EQ(RecordedOpens(), 1);

    ClickButton(IDB_BUTTON_STOP);
    EXPECT_TRUE(PumpUntil([] { return Commands() == Idle; }, 2000)) << Commands();
    EXPECT_TRUE(PumpUntil([] { return !RecordingMidiOutOpen(); }, 2000));
}

TEST_F(MainWindowTest, PlayWithoutAnOutputSaysWhyAndChangesNothing)
{
    Compose();
    FailRecordingMidiOutOpen(true);
    char reason[MAXERRORLENGTH] = "";
    midiOutGetErrorTextA(MIDIERR_INVALIDSETUP, reason, sizeof reason);
    MessageBoxWatcher watcher;
    Play();
    EXPECT_EQ(watcher.Text(), std::string("ERROR: Cannot open the MIDI output: ") + reason);
    EXPECT_EQ(Commands(), Idle);
    EXPECT_FALSE(RecordingMidiOutOpen());
}

TEST_F(MainWindowTest, APieceThatEndsByItselfLeavesTheCommandsIdle)
{
    ChooseShortPiece();
    Compose();
    Play();
    EXPECT_EQ(Commands(), Playing);
    EXPECT_TRUE(PumpUntil([] { return Commands() == Idle; }, 10000)) << Commands();
    EXPECT_FALSE(RecordingMidiOutOpen());
    EXPECT_GT(RecordedSends(), 0);

    // And it plays again from there.
    Play();
    EXPECT_EQ(Commands(), Playing);
    EXPECT_EQ(RecordedOpens(), 2);
}

TEST_F(MainWindowTest, AFirstTimerThatCannotStartIsReportedAndLeavesTheCommandsIdle)
{
    Compose();
    TimerHog hog(WineTimerSlots);
    ASSERT_EQ(hog.Held(), WineTimerSlots);
    MessageBoxWatcher watcher;
    Play();
    EXPECT_EQ(watcher.Text(), "ERROR: Cannot start the playback timer");
    EXPECT_EQ(Commands(), Idle);
    EXPECT_EQ(RecordedOpens(), 1);
    EXPECT_FALSE(RecordingMidiOutOpen());
}

TEST_F(MainWindowTest, ALaterTimerThatCannotStartIsReported)
{
    Compose();
    Play();
    ASSERT_EQ(Commands(), Playing);
    // The first timer holds one place until its callback returns, so the
    // callback cannot start the next one.
    TimerHog hog(WineTimerSlots - 1);
    ASSERT_EQ(hog.Held(), WineTimerSlots - 1);
    // The box comes from the timer's thread, about a second after Play.
    MessageBoxWatcher watcher;
    EXPECT_EQ(watcher.Text(), "ERROR: timer ID");
    // Playback has halted: no further Event goes out.
    int sent = RecordedSends();
    EXPECT_GT(sent, 0u);
    Pump(500);
    EXPECT_EQ(RecordedSends(), sent);
    // Stop brings the commands back to idle in any case.
    Command(IDM_STOP);
    EXPECT_TRUE(PumpUntil([] { return Commands() == Idle; }, 2000)) << Commands();
}

TEST_F(MainWindowTest, ClosingTheWindowDuringPlaybackEndsItAndQuitsWithZero)
{
    Compose();
    Play();
    ASSERT_TRUE(RecordingMidiOutOpen());
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_FALSE(RecordingMidiOutOpen());

    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    // No timer of the ended playback sends anything afterwards.
    int sent = RecordedSends();
    Sleep(1500);
    EXPECT_EQ(RecordedSends(), sent);
}

// A key as the program's message loop meets it, with Ctrl and Shift as given.
void Key(WPARAM key, bool ctrl = false, bool shift = false)
{
    BYTE keys[256] = {};
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{MainWindow, WM_KEYDOWN, key, 0, 0, {}};
    if (!TranslateShortcutKey(&message)) DispatchMessageA(&message);
}

// The keys of greyed items do nothing: the system's translation of the keys
// asks the menu for every key alike, so one greyed key in each state shows it.
TEST_F(MainWindowTest, ShortcutKeysDoWhatTheirMenuItemsDoAndNothingWhileTheyAreGreyed)
{
    {
        SaveDialogUser user(MainWindow, SaveDialogUser::Cancel);
        Key(VK_F5);
        EXPECT_EQ(Commands(), Empty);
        Key(VK_F9);
        EXPECT_EQ(Commands(), Idle);
        Key('S', true);  // the menu's Save waits for a name, though the toolbar's would ask for one
        EXPECT_FALSE(user.Stop());
    }
    std::string path = TempFile("shortcut.mid");
    SaveDialogUser user(MainWindow, SaveDialogUser::TypeName, path);
    Key('S', true, true);
    EXPECT_TRUE(user.Stop());
    DeleteFileA(path.c_str());
    Key('S', true);
    EXPECT_TRUE(FileExists(path));

    Key(VK_F5);
    EXPECT_EQ(Commands(), PlayingNamed);
    Key(VK_F9);  // greyed while playing: another Compose would offer Play again
    EXPECT_EQ(Commands(), PlayingNamed);
    Key(VK_F5, false, true);
    EXPECT_TRUE(PumpUntil([] { return Commands() == IdleNamed; }, 2000)) << Commands();
}

// Pixels of the window's client area, 0x00RRGGBB, row by row.
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[(size_t)y * Width + x] & 0xFFFFFF; }
};

Picture Capture(HDC source, int width, int height)
{
    Picture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.resize((size_t)width * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(picture.Pixels.data(), bits, picture.Pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}

// The client area as painted now, below the toolbar.
Picture PaintedWindow(HWND window)
{
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Picture picture = Capture(dc, client.right, client.bottom);
    ReleaseDC(window, dc);
    return picture;
}

// What the two lines look like when drawn at x = 0 from the given top, in
// the window's font on white, a line's height apart: tmHeight and
// tmExternalLeading of the font.
Picture ExpectedLines(HWND window, int top, int width, int height)
{
    HDC windowDc = GetDC(window);
    HDC dc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SelectObject(dc, StatusFont);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    int line = metrics.tmHeight + metrics.tmExternalLeading;
    TextOutA(dc, 0, top, "Varnolt", 7);
    TextOutA(dc, 0, top + line, "Version 1.00", 12);
    Picture picture = Capture(dc, width, height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, windowDc);
    return picture;
}

int ToolbarBottomInWindow()
{
    RECT place;
    GetWindowRect(MainToolbar, &place);
    MapWindowPoints(HWND_DESKTOP, MainWindow, reinterpret_cast<POINT*>(&place), 2);
    return place.bottom;
}

// Where the two lines' part of the window ends: at the piece view, once a
// piece shows there.
int LinesPartBottom(const Picture& painted)
{
    if (!IsWindowVisible(PieceView)) return painted.Height;
    RECT view;
    GetWindowRect(PieceView, &view);
    MapWindowPoints(HWND_DESKTOP, MainWindow, reinterpret_cast<POINT*>(&view), 2);
    return std::min<int>(view.top, painted.Height);
}

// Compares the painted window with the expected lines below the toolbar;
// "" when they agree, else where they first differ.
std::string CompareBelowToolbar(const Picture& painted, const Picture& expected)
{
    int from = ToolbarBottomInWindow();
    for (int y = from; y < LinesPartBottom(painted) && y < expected.Height; ++y)
        for (int x = 0; x < painted.Width && x < expected.Width; ++x)
            if (painted.At(x, y) != expected.At(x, y))
                return "differs at " + std::to_string(x) + "," + std::to_string(y);
    return "";
}

int ToolbarClientBottom()
{
    RECT client;
    GetClientRect(MainToolbar, &client);
    return client.bottom;
}

// The two lines as painted now: one empty line below the toolbar, each
// within its own LineHeight, in the window's font.
void ExpectTheTwoLinesBelowTheToolbar()
{
    Picture painted = PaintedWindow(MainWindow);
    int top = ToolbarClientBottom() + LineHeight;
    Picture expected = ExpectedLines(MainWindow, top, painted.Width, painted.Height);
    EXPECT_EQ(CompareBelowToolbar(painted, expected), "");

    // Both lines have actually been drawn where they belong.
    auto inked = [&](int from, int to) {
        for (int y = from; y < to; ++y)
            for (int x = 0; x < painted.Width; ++x)
                if (painted.At(x, y) != 0xFFFFFF) return true;
        return false;
    };
    EXPECT_FALSE(inked(ToolbarBottomInWindow(), top));
    EXPECT_TRUE(inked(top, top + LineHeight));
    EXPECT_TRUE(inked(top + LineHeight, top + 2 * LineHeight));
    EXPECT_FALSE(inked(top + 2 * LineHeight, LinesPartBottom(painted)));
}

// Glyphs drawn in the given size, in buttons that leave room around them at
// the DPI's scale, and the two lines below.
void ExpectDrawnFor(UINT dpi, int glyphs)
{
    int width = 0, height = 0;
    ImageList_GetIconSize((HIMAGELIST)SendMessageA(MainToolbar, TB_GETIMAGELIST, 0, 0), &width, &height);
    EXPECT_TRUE(width == glyphs && height == glyphs) << width << " x " << height << " at " << dpi << " DPI";
    LRESULT button = SendMessageA(MainToolbar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_TRUE(LOWORD(button) >= glyphs + 7 * dpi / 96 && HIWORD(button) >= glyphs + 6 * dpi / 96)
        << LOWORD(button) << " x " << HIWORD(button) << " at " << dpi << " DPI";
    ExpectTheTwoLinesBelowTheToolbar();
}

// Run by tests/win/at_dpi.sh at 96, 120, 144 and 192 DPI, named in VARNOLT_DPI.
class MainWindowAtEachDpi : public MainWindowTest {};

TEST_F(MainWindowAtEachDpi, IsDrawnForTheDpiAndFollowsAChange)
{
    UINT dpi = GetDpiForWindow(window_);
    ASSERT_EQ(dpi, (UINT)std::atoi(std::getenv("VARNOLT_DPI") ? std::getenv("VARNOLT_DPI") : "0"))
        << "Wine has not taken the prefix's DPI";
    RECT place, work;
    GetWindowRect(window_, &place);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(place.right - place.left, std::min(FirstWidth * (LONG)dpi / 96, work.right - work.left));
    EXPECT_EQ(place.bottom - place.top, std::min(FirstHeight * (LONG)dpi / 96, work.bottom - work.top));
    ExpectDrawnFor(dpi, 16 * dpi / 96);

    // The window moved to a monitor of another DPI.
    int lineHeight = LineHeight;
    UINT other = dpi == 96 ? 192 : 96;
    RECT suggested{40, 30, 600, 420};
    SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(other, other), (LPARAM)&suggested);
    GetWindowRect(window_, &place);
    EXPECT_TRUE(EqualRect(&place, &suggested));
    EXPECT_NEAR(LineHeight, lineHeight * (int)other / (int)dpi, 2);
    ExpectDrawnFor(other, 16 * other / 96);
    // Beyond the drawn sizes the largest serves.
    SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(300, 300), (LPARAM)&suggested);
    ExpectDrawnFor(300, 32);
}

TEST_F(MainWindowTest, LinesMoveDownWhenTheToolbarWrapsInANarrowWindow)
{
    // At their own size the three buttons fit the narrowest window the system
    // allows; wider buttons, as with a large system font, let the row wrap.
    SendMessageA(MainToolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(60, 22));
    SetWindowPos(window_, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
    Pump(50);
    int wide = ToolbarClientBottom();

    SetWindowPos(window_, nullptr, 0, 0, 1, 300, SWP_NOZORDER | SWP_NOMOVE);
    Pump(50);
    int narrow = ToolbarClientBottom();
    ASSERT_GT(narrow, wide) << "the toolbar did not wrap";

    Picture painted = PaintedWindow(window_);
    Picture expected = ExpectedLines(window_, narrow + LineHeight, painted.Width, painted.Height);
    EXPECT_EQ(CompareBelowToolbar(painted, expected), "");

    // Widening it again brings the toolbar back to one row.
    SetWindowPos(window_, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
    Pump(50);
    EXPECT_EQ(ToolbarClientBottom(), wide);
}

// Each item of Options and About opens its own modal dialog over the main
// window; a control that only that dialog has tells them apart.
TEST_F(MainWindowTest, OptionsAndAboutOpenTheirDialogs)
{
    struct Route {
        UINT command;
        int onlyControl;
        int missingControl;
    };
    const Route routes[] = {
        {IDM_MATRIX, IDC_TONE_FIRST, IDC_TEMPO_LIST},
        {IDM_OCTAVES, IDC_OCTAVE_FIRST + 15, IDC_TONE_FIRST},
        {IDM_MIDI, IDC_TEMPO_LIST, IDC_TONE_FIRST},
        {IDM_VOICES, IDC_VOICE_CHECK_FIRST, IDC_TEMPO_LIST},
        {IDM_ABOUT, IDC_ABOUT_VERSION, IDC_TONE_FIRST},
    };
    for (const Route& route : routes) {
        std::atomic<bool> has{false};
        std::atomic<bool> lacks{false};
        DialogUser user(MainWindow, [&](HWND dialog) {
            has = GetDlgItem(dialog, route.onlyControl) != nullptr;
            lacks = GetDlgItem(dialog, route.missingControl) == nullptr;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Command(route.command);
        EXPECT_TRUE(user.Seen()) << route.command;
        EXPECT_TRUE(has) << route.command;
        EXPECT_TRUE(lacks) << route.command;
        EXPECT_EQ(Commands(), Empty) << route.command;
    }

    // Series is a property sheet of pages.
    std::atomic<bool> tabs{false};
    DialogUser user(MainWindow, [&](HWND sheet) {
        tabs = FindWindowExA(sheet, nullptr, "SysTabControl32", nullptr) != nullptr;
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    });
    Command(IDM_SERIES);
    EXPECT_TRUE(user.Seen());
    EXPECT_TRUE(tabs);
}

}  // namespace

// Refuses the creation of the main window, and of no other, on the thread
// that installed it.
static LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam)
{
    char name[16] = "";
    if (code == HCBT_CREATEWND && GetClassNameA((HWND)wParam, name, sizeof name) && !std::strcmp(name, "Varnolt"))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ProgramRun, AMainWindowThatCannotBeCreatedIsReportedAndTheProgramEndsWithZero)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA("Varnolt", instance);  // the run registers it itself
    std::atomic<DWORD> thread{0};
    std::atomic<int> code{-1};
    MessageBoxWatcher box;
    std::thread run([&] {
        HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
        thread = GetCurrentThreadId();
        code = RunProgram(instance, SW_SHOWNORMAL);
        UnhookWindowsHookEx(hook);
    });
    EXPECT_EQ(box.Text(), "ERROR: Cannot create the main window");
    for (int i = 0; i < 300 && code == -1; ++i) Sleep(10);
    EXPECT_EQ(code, 0) << "-1: the run did not end";
    while (code == -1) {  // a run that waits for ever is let go
        PostThreadMessageA(thread, WM_QUIT, 1, 0);
        Sleep(10);
    }
    run.join();
}

// A toolbar made by CreateToolbarEx keeps its images itself: Windows does not
// let them be swapped under it (Wine does), and reloads its bitmap into them
// when the colours change.
extern LRESULT(WINAPI* SendImport)(HWND, UINT, WPARAM, LPARAM) IMPORT_SLOT(SendMessageA, 16);
static LRESULT(WINAPI* const RealSend)(HWND, UINT, WPARAM, LPARAM) = SendImport;
static int ImageListsSwapped;
static LRESULT WINAPI SendCountingSwaps(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ImageListsSwapped += message == TB_SETIMAGELIST;
    return RealSend(window, message, wParam, lParam);
}

// A piece that ends while the toolbar is made anew tells the old toolbar,
// which is gone: the new one takes Play and Stop from the menu.
TEST_F(MainWindowTest, AToolbarMadeAnewAsThePieceEndsShowsItEnded)
{
    Compose();
    SendMessageA(window_, WM_COMMAND, IDM_PLAY, 0);
    ASSERT_EQ(Commands(), Playing);
    HMENU menu = GetMenu(window_);
    EnableMenuItem(menu, IDM_PLAY, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, IDM_COMPOSE, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, IDM_STOP, MF_BYCOMMAND | MF_GRAYED);
    SendMessageA(window_, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(Commands(), Idle);
    SendMessageA(window_, WM_COMMAND, IDM_STOP, 0);
}

TEST_F(MainWindowTest, ToolbarImagesFollowADpiAndAColourChangeWithoutBeingSwapped)
{
    Compose();
    ImageListsSwapped = 0;
    SendImport = SendCountingSwaps;
    RECT suggested{40, 30, 600, 420};
    SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(144, 144), (LPARAM)&suggested);
    SendMessageA(window_, WM_SYSCOLORCHANGE, 0, 0);
    SendImport = RealSend;
    EXPECT_EQ(ImageListsSwapped, 0);
    ExpectDrawnFor(144, 24);
    EXPECT_EQ(Commands(), Idle) << "the buttons as they were";
}
