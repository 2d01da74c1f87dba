#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/settings_commands.h"
#include "settings/pitch_names.h"
#include "settings/settings_file.h"
#include "tests/unit/fakes/fakes.h"
#include "tests/unit/test_seed.h"

namespace fs = std::filesystem;

namespace {

// Every field away from a new start's value, differently for each variant.
CompositionSettings Varied(int variant)
{
    CompositionSettings s{};
    for (int i = 0; i < RowLength; ++i) {
        s.ToneRow[i] = (7 * i + variant) % 12;
        s.DurationRow[i] = (i + 4 * variant) % DialogDurationCodeCount;  // the two variants give all 16
        s.VelocityRow[i] = 127 - 11 * i - variant;
    }
    for (int v = 0; v < VoiceCount; ++v) {
        s.VoiceActive[v] = (v + variant) % 2;
        s.VoiceInstrument[v] = v == 9 ? 0 : 127 - 8 * v - variant;
        s.VoiceOctave[v] = (v + variant) % 9;
        for (int k = 0; k < FormCount; ++k) s.FormSelection[v][k] = (k * 7 + v + variant) % 5 == 0;
    }
    s.TempoIndex = variant ? 0 : TempoCount - 1;
    s.PitchNames = variant ? PitchSharps : PitchFlats;
    return s;
}

bool SameSettings(const CompositionSettings& a, const CompositionSettings& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool InRange(const CompositionSettings& s)
{
    bool in = s.TempoIndex >= 0 && s.TempoIndex < TempoCount;
    for (int i = 0; i < RowLength; ++i)
        in = in && s.ToneRow[i] >= 0 && s.ToneRow[i] <= 11 && s.DurationRow[i] >= 0 &&
             s.DurationRow[i] < DialogDurationCodeCount && s.VelocityRow[i] >= 0 && s.VelocityRow[i] <= 127;
    for (int v = 0; v < VoiceCount; ++v) {
        in = in && (s.VoiceActive[v] == 0 || s.VoiceActive[v] == 1) && s.VoiceInstrument[v] >= 0 &&
             s.VoiceInstrument[v] <= (v == 9 ? 0 : 127) && s.VoiceOctave[v] >= 0 && s.VoiceOctave[v] <= 8;
        for (int k = 0; k < FormCount; ++k) in = in && (s.FormSelection[v][k] == 0 || s.FormSelection[v][k] == 1);
    }
    return in;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        ResetFakes();
        file_ = fs::current_path() /
                ("varnolt-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove(file_, ec);
    }

    bool Open(const std::string& text)
    {
        std::ofstream(file_, std::ios::binary) << text;
        return OpenSettingsFile(file_.string().c_str());
    }

    // Opens a file that must fail: one box naming the file and the line, and
    // the settings exactly as they were.
    void ExpectRefused(const std::string& text, const std::string& problem)
    {
        ReplaceSettings(Varied(1));
        ReportedErrors.clear();
        EXPECT_FALSE(Open(text)) << text;
        ASSERT_EQ(ReportedErrors.size(), 1u) << text;
        EXPECT_EQ(ReportedErrors[0], "ERROR: Cannot open settings file " + file_.string() + "\n" + problem +
                                         "\nThe settings stay as they were");
        EXPECT_TRUE(SameSettings(Settings, Varied(1))) << text;
    }

    // Any text, valid or not: never a crash nor a read past its bytes (the
    // parser gets a copy of exactly their size); a valid one gives only
    // values in their ranges, one refused names its line. That a refused
    // file leaves the settings as they were, ExpectRefused shows.
    void ParseAnything(const std::string& text)
    {
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        CompositionSettings parsed;
        std::string problem;
        if (ParseSettingsText(bytes.data(), (uint32_t)bytes.size(), &parsed, &problem)) {
            EXPECT_TRUE(InRange(parsed)) << text;
        } else {
            EXPECT_EQ(problem.rfind("Line ", 0), 0u) << problem;
        }
    }

    fs::path file_;
};

TEST_F(SettingsFileTest, SavedSettingsOpenAsTheSameEveryField)
{
    for (int variant : {0, 1}) {
        ReplaceSettings(Varied(variant));
        ASSERT_TRUE(SaveSettingsFile(file_.string().c_str()));
        ResetSettings();
        EXPECT_TRUE(OpenSettingsFile(file_.string().c_str()));
        EXPECT_TRUE(SameSettings(Settings, Varied(variant))) << variant;
    }
    EXPECT_TRUE(ReportedErrors.empty());
}

TEST_F(SettingsFileTest, LeftOutEntriesAndPartsTakeTheValuesOfANewStart)
{
    ReplaceSettings(Varied(0));
    ASSERT_TRUE(Open("\xEF\xBB\xBFVarnolt settings 1\n# a row\ntones 0 1 2 3 4 5 6 7 8 9 11 10\nVOICE 1 Series 3"));
    CompositionSettings expected;
    FillDefaultSettings(&expected);
    expected.ToneRow[10] = 11;
    expected.ToneRow[11] = 10;
    expected.FormSelection[0][0] = expected.FormSelection[0][1] = 0;
    expected.FormSelection[0][2] = 1;
    EXPECT_TRUE(SameSettings(Settings, expected));
    // Pitches as numbers need no new entry: a Varnolt without pitch names opens the file.
    EXPECT_EQ(SettingsText(Settings).rfind("Varnolt settings 1\r\n", 0), 0u);
}

// Each fault is told by its line, blank lines counted, and leaves the
// settings as they were: a file with no first line, a MIDI file (whose first
// line is no text), an entry given twice, a number too long for any integer,
// an instrument for the percussion voice, bytes that are no UTF-8 after some
// that are, a file beyond the largest.
TEST_F(SettingsFileTest, AFaultIsToldByItsLineAndChangesNothing)
{
    const std::string first = "Varnolt settings 1\r\n";
    ExpectRefused("", "Line 1: expected \"Varnolt settings 1\", found an empty line");
    ExpectRefused(std::string("MThd\0\0\0\6", 8), "Line 1: expected \"Varnolt settings 1\", found a NUL byte");
    ExpectRefused(first + "tones 0 1 2 3 4 5 6 7 8 9 10 11\ntones 0 1 2 3 4 5 6 7 8 9 10 11",
                  "Line 3: expected each entry once, found \"tones\" again (first on line 2)");
    ExpectRefused(first + "\n\nvelocities 1 2 3 4 5 6 7 8 9 10 11 99999999999999999999999999999999",
                  "Line 4: expected velocity 11 of velocities 0..11, a number 0..127, found \"999999999999999999999999...\"");
    // 2 to the 64th and 5: wrapped, it would be the octave 5.
    ExpectRefused(first + "voice 2 octave 18446744073709551621",
                  "Line 2: expected an octave 0..8, found \"18446744073709551621\"");
    ExpectRefused(first + "voice 1 series 3 5 3", "Line 2: expected each Series box once, found 3 again");
    ExpectRefused(first + "pitches sharps", "Line 2: expected tones, durations, velocities, tempo, voice or a comment, "
                                            "found \"pitches\", which only a file of version 2 may hold");
    ExpectRefused(first + "voice 10 instrument 0", "Line 2: expected no instrument for voice 10, the percussion voice, "
                                                   "found \"instrument\"");
    ExpectRefused(first + "# caf\xC3\xA9\n# \xC3\x28", "Line 3: expected UTF-8 text, found the byte 0xC3");
    // Each range its own: a file of a later Varnolt, a tempo outside the
    // table, the one duration the Matrix dialog does not offer, a long line.
    ExpectRefused("Varnolt settings 3\n", "Line 1: expected \"Varnolt settings 1\" or \"Varnolt settings 2\", "
                                         "found version 3, from a later Varnolt");
    ExpectRefused(first + "tempo 70", "Line 2: expected a tempo of 10, 20, 30, 40, 50, 60, 80, 100, 120, 150, "
                                      "160 or 200 beats a minute, found \"70\"");
    ExpectRefused(first + "durations 1/4 1/4 .1/64", "Line 2: expected duration 2 of durations 0..11, one of 1 1/2 1/4 1/8 1/16 "
                                                     "1/32 1/64 ^1/8 ^1/16 ^1/32 ^1/64 .1/2 .1/4 .1/8 .1/16 .1/32, "
                                                     "found \".1/64\"");
    ExpectRefused(first + "#" + std::string(SettingsLineLongest, '-'),
                  "Line 2: expected a line of at most 1024 bytes, found a line of more than 1024 bytes");
    ExpectRefused(first + std::string(SettingsFileLargest, '\n'),
                  "expected a file of at most 65536 bytes, found a larger one");
}

TEST_F(SettingsFileTest, TheBoundsThemselvesAreValid)
{
    std::string text = "Varnolt settings 1\n#" + std::string(SettingsLineLongest - 1, '-') + "\n";
    text += std::string(SettingsFileLargest - text.size(), '\n');
    EXPECT_TRUE(Open(text));
    EXPECT_TRUE(ReportedErrors.empty());
}

TEST_F(SettingsFileTest, EveryTruncationAndRandomDamageIsSafe)
{
    const std::string whole = SettingsText(Varied(0)) + "# Sch\xC3\xB6nberg\xE2\x80\x99s row \xF0\x9D\x84\x9E\n";
    for (size_t length = 0; length < whole.size(); ++length) ParseAnything(whole.substr(0, length));

    std::mt19937 random(TestSeed());
    for (int round = 0; round < 300; ++round) {
        std::string damaged = whole;
        for (int n = 1 + random() % 4; n > 0; --n) damaged[random() % damaged.size()] = (char)(random() % 256);
        ParseAnything(damaged);
        std::string noise(random() % 200, 0);
        for (char& c : noise) c = (char)(random() % 256);
        ParseAnything("Varnolt settings 1\n" + noise);
    }
}

// The playing piece reads the tempo on the timer's thread while a file is
// opened; a tempo written as a plain store is a race the thread sanitizer sees.
TEST_F(SettingsFileTest, TheTempoReachesAPlayingPieceWithoutARace)
{
    std::atomic<bool> done{false};
    std::thread player([&] {
        while (!done) (void)CurrentTempo();
    });
    EXPECT_TRUE(Open("Varnolt settings 1\ntempo 200\n"));
    done = true;
    player.join();
    EXPECT_EQ(CurrentTempo(), 200);
}

}  // namespace
