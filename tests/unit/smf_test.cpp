#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/compose.h"
#include "engine/random.h"
#include "events/events.h"
#include "midi/score.h"
#include "midi/smf.h"
#include "settings/settings.h"
#include "tests/unit/fakes/fakes.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes Image()
{
    return Bytes(FileImage, FileImage + FileImageCount);
}

Bytes Slice(const Bytes& b, size_t from, size_t count)
{
    return Bytes(b.begin() + from, b.begin() + from + count);
}

uint32_t Number32(const Bytes& b, size_t at)
{
    return (uint32_t)b[at] << 24 | (uint32_t)b[at + 1] << 16 | (uint32_t)b[at + 2] << 8 | b[at + 3];
}

// A piece laid out by hand: no voice active, a header that counts only the
// conductor track.
void ClearPiece()
{
    ClearVoiceLists();
    for (VoiceTrack& track : VoiceTracks) track.Active = 0;
    SongHeader.TrackCount = 1;
}

void ActivateVoice(int v)
{
    VoiceTracks[v].Active = 1;
    SongHeader.TrackCount += 1;
}

// One quarter note on a voice, as Compose writes it.
void AddQuarter(int v, int key, int velocity)
{
    AppendNoteMessage(&VoiceTracks[v].Events, 0, v, key, velocity);
    AppendNoteMessage(&VoiceTracks[v].Events, 384, v, key, 0);
}

struct DecodedEvent {
    uint32_t delta;
    uint8_t status;
    uint8_t data[2];
};

// An independent reading of a voice chunk's event bytes: a plain
// variable-length decoder and a status byte required on every event.
std::vector<DecodedEvent> DecodeTrack(const Bytes& b)
{
    std::vector<DecodedEvent> out;
    size_t i = 0;
    while (i < b.size()) {
        DecodedEvent d{0, 0, {0, 0}};
        int groups = 0;
        uint8_t c;
        do {
            c = b.at(i++);
            d.delta = d.delta << 7 | (c & 0x7F);
            ++groups;
        } while (c & 0x80);
        EXPECT_LE(groups, 4);
        d.status = b.at(i++);
        EXPECT_TRUE(d.status & 0x80) << "running status at byte " << i - 1;
        d.data[0] = b.at(i++);
        if ((d.status & 0xF0) == 0x90) d.data[1] = b.at(i++);
        out.push_back(d);
    }
    return out;
}

struct Chunk {
    std::string type;
    Bytes body;
};

std::vector<Chunk> Chunks(const Bytes& b)
{
    std::vector<Chunk> out;
    size_t i = 0;
    while (i + 8 <= b.size()) {
        uint32_t length = Number32(b, i + 4);
        EXPECT_LE(i + 8 + length, b.size());
        out.push_back({std::string(b.begin() + i, b.begin() + i + 4), Slice(b, i + 8, length)});
        i += 8 + length;
    }
    EXPECT_EQ(i, b.size()) << "bytes left after the last chunk";
    return out;
}

class SmfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        ResetSettings();
        ClearPiece();
    }
};

class SmfFileTest : public SmfTest {
protected:
    void SetUp() override
    {
        SmfTest::SetUp();
        // Beside the test program: one folder per build, and the same one for
        // the process that a death test starts.
        folder_ = fs::current_path() /
                  ("varnolt-smf-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    fs::path folder_;
};

const Bytes HeaderAndConductorAt60 = {
    0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x01, 0x00, 0x01, 0x01, 0x80,
    0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00, 0x00, 0x22,
    0x00, 0xFF, 0x54, 0x05, 0x40, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,
    0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,
    0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,
    0x00, 0xFF, 0x2F, 0x00};

}  // namespace

TEST_F(SmfTest, VariableLengthQuantitiesEncodeMostSignificantGroupFirst)
{
    const struct {
        uint32_t value;
        Bytes bytes;
    } table[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x81, 0x00}},
        {384, {0x83, 0x00}},
        {1536, {0x8C, 0x00}},
        {16383, {0xFF, 0x7F}},
        {16384, {0x81, 0x80, 0x00}},
        {2097151, {0xFF, 0xFF, 0x7F}},
        {2097152, {0x81, 0x80, 0x80, 0x00}},
        {268435455, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& row : table) {
        TrackAreaCount = 0;
        AppendVarLen(row.value);
        EXPECT_EQ(Bytes(TrackArea, TrackArea + TrackAreaCount), row.bytes) << row.value;
    }
    // Appending goes on after what is there.
    TrackAreaCount = 0;
    AppendVarLen(128);
    AppendVarLen(0);
    EXPECT_EQ(Bytes(TrackArea, TrackArea + TrackAreaCount), (Bytes{0x81, 0x00, 0x00}));
}

TEST_F(SmfTest, WithNoActiveVoiceTheFileIsTheHeaderAndConductorTrack)
{
    BuildMidiImage();
    EXPECT_EQ(Image(), HeaderAndConductorAt60);
}

TEST_F(SmfTest, TheConductorTrackCarriesEveryTempoOfTheTable)
{
    const uint8_t tempoBytes[TempoCount][3] = {
        {0x5B, 0x8D, 0x80}, {0x2D, 0xC6, 0xC0}, {0x1E, 0x84, 0x80}, {0x16, 0xE3, 0x60},
        {0x12, 0x4F, 0x80}, {0x0F, 0x42, 0x40}, {0x0B, 0x71, 0xB0}, {0x09, 0x27, 0xC0},
        {0x07, 0xA1, 0x20}, {0x06, 0x1A, 0x80}, {0x05, 0xB8, 0xD8}, {0x04, 0x93, 0xE0},
    };
    for (int t = 0; t < TempoCount; ++t) {
        WriteTempoIndex(t);
        BuildMidiImage();
        Bytes expected = HeaderAndConductorAt60;
        expected[35] = tempoBytes[t][0];
        expected[36] = tempoBytes[t][1];
        expected[37] = tempoBytes[t][2];
        EXPECT_EQ(Image(), expected) << "tempo index " << t;
        EXPECT_EQ(SongHeader.Tempo, TempoTable[t]);
    }
}

TEST_F(SmfTest, AVoiceTrackHoldsItsEventsWithAStatusByteEachAndEndsTheTrack)
{
    ActivateVoice(0);
    AppendProgramChange(&VoiceTracks[0].Events, 0, 0);
    AddQuarter(0, 60, 96);
    AddQuarter(0, 62, 96);
    // The percussion voice is written like any other.
    ActivateVoice(9);
    AppendProgramChange(&VoiceTracks[9].Events, 9, 5);
    AddQuarter(9, 40, 100);
    BuildMidiImage();
    const Bytes tracks = {0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00, 0x00, 25,
                          0x00, 0xC0, 0x00,
                          0x00, 0x90, 0x3C, 0x60, 0x83, 0x00, 0x90, 0x3C, 0x00,
                          0x00, 0x90, 0x3E, 0x60, 0x83, 0x00, 0x90, 0x3E, 0x00,
                          0x00, 0xFF, 0x2F, 0x00,
                          0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00, 0x00, 16,
                          0x00, 0xC9, 0x05,
                          0x00, 0x99, 0x28, 0x64, 0x83, 0x00, 0x99, 0x28, 0x00,
                          0x00, 0xFF, 0x2F, 0x00};
    Bytes image = Image();
    ASSERT_EQ(image.size(), 56 + tracks.size());
    EXPECT_EQ(image[11], 3);
    EXPECT_EQ(Slice(image, 56, tracks.size()), tracks);
}

TEST_F(SmfTest, OnlyActiveVoicesAreWrittenAndInVoiceOrder)
{
    // Voice 5 has events left from an earlier piece but is not active.
    for (int v : {14, 2, 5}) {
        AppendProgramChange(&VoiceTracks[v].Events, v, v);
        AddQuarter(v, 50 + v, 80);
    }
    ActivateVoice(14);
    ActivateVoice(2);
    BuildMidiImage();
    std::vector<Chunk> chunks = Chunks(Image());
    ASSERT_EQ(chunks.size(), 4u);
    std::vector<DecodedEvent> first = DecodeTrack(Slice(chunks[2].body, 0, chunks[2].body.size() - 4));
    std::vector<DecodedEvent> second = DecodeTrack(Slice(chunks[3].body, 0, chunks[3].body.size() - 4));
    ASSERT_EQ(first.size(), 3u);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(first[0].status, 0xC2);
    EXPECT_EQ(second[0].status, 0xCE);
    EXPECT_EQ(second[1].data[0], 64);
}

TEST_F(SmfTest, TheTempoIsTheOneChosenAtSavingNotAtComposing)
{
    WriteTempoIndex(1);
    DrawRandomPool();
    Compose();
    WriteTempoIndex(6);
    BuildMidiImage();
    Bytes image = Image();
    EXPECT_EQ(Slice(image, 35, 3), (Bytes{0x0B, 0x71, 0xB0}));
    EXPECT_EQ(SongHeader.Tempo, 80);
}

TEST_F(SmfTest, AComposedPieceReadsBackEventForEvent)
{
    for (int v : {0, 3, 9, 15}) {
        Settings.VoiceActive[v] = 1;
        Settings.VoiceInstrument[v] = 10 + v;
        for (int f = 0; f < 7; ++f) Settings.FormSelection[v][f] = (f + v) % 3 != 0;
    }
    // Durations from a whole note down to a sixty-fourth: one- and two-byte deltas.
    for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = i;
    DrawRandomPool();
    Compose();
    ASSERT_EQ(SongHeader.TrackCount, 5);

    BuildMidiImage();
    Bytes image = Image();
    EXPECT_EQ(image[10], 0);
    EXPECT_EQ(image[11], 5);
    std::vector<Chunk> chunks = Chunks(image);
    ASSERT_EQ(chunks.size(), 6u);  // the header, then as many tracks as it counts
    EXPECT_EQ(Slice(image, 14, 42), Slice(HeaderAndConductorAt60, 14, 42));

    const Bytes end = {0x00, 0xFF, 0x2F, 0x00};
    size_t c = 2;
    for (int v : {0, 3, 9, 15}) {
        const Bytes& body = chunks[c++].body;
        ASSERT_GE(body.size(), 4u);
        EXPECT_EQ(body[0], 0) << "the length's first byte";
        EXPECT_EQ(Slice(body, body.size() - 4, 4), end);
        std::vector<DecodedEvent> read = DecodeTrack(Slice(body, 0, body.size() - 4));
        EventList* list = &VoiceTracks[v].Events;
        ASSERT_EQ(read.size(), (size_t)CountEvents(list)) << "voice " << v;
        size_t k = 0;
        for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next, ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(read[k].delta, (uint32_t)e->Delta);
            EXPECT_EQ(read[k].status, (e->Kind == ProgramChange ? 0xC0 : 0x90) | v);
            EXPECT_EQ(read[k].data[0], e->Data[0]);
            if (e->Kind == NoteMessage) {
                EXPECT_EQ(read[k].data[1], e->Data[1]);
            }
        }
        EXPECT_EQ(read[0].data[0], 10 + v) << "the program change comes first";
    }
}

TEST_F(SmfTest, TheLargestPieceFitsInItsKnownSize)
{
    for (int v = 0; v < VoiceCount; ++v) {
        Settings.VoiceActive[v] = 1;
        for (int f = 0; f < FormCount; ++f) Settings.FormSelection[v][f] = 1;
    }
    for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = 0;  // whole notes: two-byte deltas
    DrawRandomPool();
    Compose();
    BuildMidiImage();
    EXPECT_EQ(FileImageCount, 83240u);
    EXPECT_EQ(Chunks(Image()).size(), 18u);
    EXPECT_EQ(Number32(Image(), 56 + 4), 5187u + 4);
}

namespace {

// The error box of the tests only records its text; a process that ends
// inside the writer shows it on stderr for the death test to match.
void PrintReportedErrors()
{
    for (const std::string& text : ReportedErrors) std::fprintf(stderr, "reported: %s", text.c_str());
    std::fflush(stderr);
}

// Events of one voice with the given delta: 5 bytes each with a whole
// note's delta, 4 with none.
void FillVoice(int v, int events, int delta)
{
    ActivateVoice(v);
    for (int i = 0; i < events; ++i) AppendNoteMessage(&VoiceTracks[v].Events, delta, v, 60, 0);
}

}  // namespace

TEST_F(SmfTest, AVoiceThatFillsTheFileImageToItsLastByteStillFits)
{
    FillVoice(0, 49983, 0);
    BuildMidiImage();
    EXPECT_EQ(FileImageCount, 200000u);
    EXPECT_EQ(Slice(Image(), 199996, 4), (Bytes{0x00, 0xFF, 0x2F, 0x00}));
    EXPECT_TRUE(ReportedErrors.empty());
}

using SmfDeathTest = SmfFileTest;

TEST_F(SmfDeathTest, TooManyEventsEndTheProgramAndLeaveTheEarlierFile)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    fs::path target = folder_ / "piece.mid";
    std::ofstream(target, std::ios::binary) << "earlier";
    // 40,000 five-byte events: the last no longer passes the seven-byte check
    // of the track area.
    FillVoice(2, 40000, 1536);
    EXPECT_EXIT(
        {
            std::atexit(PrintReportedErrors);
            WriteMidiFile(target.string().c_str());
        },
        ::testing::ExitedWithCode(0), "reported: ERROR: Too many events\n");
    std::ifstream in(target, std::ios::binary);
    std::stringstream kept;
    kept << in.rdbuf();
    EXPECT_EQ(kept.str(), "earlier");
}

TEST_F(SmfDeathTest, TracksThatFitOneByOneButNotTogetherAreTooManyEvents)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    FillVoice(0, 25000, 1536);
    FillVoice(1, 25000, 1536);
    EXPECT_EXIT(
        {
            std::atexit(PrintReportedErrors);
            BuildMidiImage();
        },
        ::testing::ExitedWithCode(0), "reported: ERROR: Too many events\n");
}

// A score with an empty part list is no score a notation program opens: the
// earlier file of that name stays as it was.
TEST_F(SmfFileTest, APieceWithNoVoiceWritesNoScore)
{
    const std::string path = (folder_ / "empty.musicxml").string();
    std::ofstream(path) << "earlier";
    EXPECT_FALSE(WriteScoreFile(path.c_str()));
    ASSERT_EQ(ReportedErrors.size(), 1u);
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier");
}
