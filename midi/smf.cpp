#include "midi/smf.h"

#include <cstdlib>
#include <cstring>

#include "app/report_error.h"
#include "events/events.h"
#include "midi/file_write.h"
#include "midi/playback.h"  // the status bytes
#include "settings/settings.h"

uint8_t FileImage[MidiImageSize];
uint32_t FileImageCount;
uint8_t TrackArea[MidiImageSize];
uint32_t TrackAreaCount;

enum {
    MaxEventBytes = 7,  // four of delta, three of message
    ChunkFrameBytes = 12  // "MTrk", the length, and the end of track
};

static void ImageByte(uint32_t b)
{
    FileImage[FileImageCount++] = (uint8_t)b;
}

static void ImageBytes(const uint8_t* bytes, uint32_t count)
{
    std::memcpy(FileImage + FileImageCount, bytes, count);
    FileImageCount += count;
}

static void ImageNumber32(uint32_t n)
{
    ImageByte(n >> 24);
    ImageByte(n >> 16);
    ImageByte(n >> 8);
    ImageByte(n);
}

static void TrackByte(uint32_t b)
{
    TrackArea[TrackAreaCount++] = (uint8_t)b;
}

void AppendVarLen(uint32_t value)
{
    uint32_t acc = value & 0x7F;
    value >>= 7;
    while (value != 0) {
        acc = (acc << 8) | 0x80 | (value & 0x7F);
        value >>= 7;
    }
    for (;;) {
        TrackByte(acc & 0xFF);
        if (!(acc & 0x80)) break;
        acc >>= 8;
    }
}

static void TooManyEvents()
{
    ReportError("ERROR: Too many events\n");
    std::exit(0);
}

static void AppendHeaderChunk()
{
    static const uint8_t head[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    ImageBytes(head, sizeof head);
    ImageByte(0);
    ImageByte(SongHeader.TrackCount);
    ImageByte(TicksPerQuarter >> 8);
    ImageByte(TicksPerQuarter);
}

static const uint8_t EndOfTrack[] = {0x00, 0xFF, 0x2F, 0x00};

static void AppendConductorTrack()
{
    static const uint8_t head[] = {'M', 'T', 'r', 'k', 0, 0, 0, 34};
    static const uint8_t smpteOffset[] = {0x00, 0xFF, 0x54, 0x05, 0x40, 0, 0, 0, 0};
    // The header keeps beats per minute; the file wants microseconds per quarter.
    SongHeader.Tempo = CurrentTempo();
    uint32_t micros = 60000000u / (uint32_t)SongHeader.Tempo;

    ImageBytes(head, sizeof head);
    ImageBytes(smpteOffset, sizeof smpteOffset);
    const uint8_t tempo[] = {0x00, 0xFF, 0x51, 0x03, (uint8_t)(micros >> 16), (uint8_t)(micros >> 8),
                             (uint8_t)micros};
    ImageBytes(tempo, sizeof tempo);
    const uint8_t timeSignature[] = {0x00, 0xFF, 0x58, 0x04,
                                     (uint8_t)SongHeader.TimeSignatureNumerator,
                                     (uint8_t)SongHeader.TimeSignatureDenominatorPower,
                                     (uint8_t)SongHeader.ClocksPerClick,
                                     (uint8_t)SongHeader.ThirtySecondsPerQuarter};
    ImageBytes(timeSignature, sizeof timeSignature);
    const uint8_t keySignature[] = {0x00, 0xFF, 0x59, 0x02, (uint8_t)SongHeader.KeySignature, 0x00};
    ImageBytes(keySignature, sizeof keySignature);
    ImageBytes(EndOfTrack, sizeof EndOfTrack);
}

// Every event carries its own status byte: no running status.
static void AppendEvent(const Event* e)
{
    if (TrackAreaCount + MaxEventBytes > MidiImageSize) TooManyEvents();
    AppendVarLen((uint32_t)e->Delta);
    if (e->Kind == ProgramChange) {
        TrackByte(ShortProgramChange | (e->Channel & 0x0F));
        TrackByte(e->Data[0]);
    } else {
        TrackByte(ShortNoteOn | (e->Channel & 0x0F));
        TrackByte(e->Data[0]);
        TrackByte(e->Data[1]);
    }
}

static void AppendVoiceTrack(EventList* list)
{
    TrackAreaCount = 0;
    for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next) AppendEvent(e);
    // Pieces this program composes stay far below the image's size; a hand-made
    // list must still never run past its end.
    if (FileImageCount + ChunkFrameBytes + TrackAreaCount > MidiImageSize) TooManyEvents();
    static const uint8_t type[] = {'M', 'T', 'r', 'k'};
    ImageBytes(type, sizeof type);
    ImageNumber32(TrackAreaCount + sizeof EndOfTrack);
    ImageBytes(TrackArea, TrackAreaCount);
    ImageBytes(EndOfTrack, sizeof EndOfTrack);
}

void BuildMidiImage()
{
    FileImageCount = 0;
    AppendHeaderChunk();
    AppendConductorTrack();
    for (int v = 0; v < VoiceCount; ++v)
        if (VoiceTracks[v].Active == 1) AppendVoiceTrack(&VoiceTracks[v].Events);
}

bool WriteMidiFile(const char* name)
{
    static WriteFailure failure;
    BuildMidiImage();
    if (WriteWholeFile(name, FileImage, FileImageCount, &failure)) return true;
    ReportWriteFailure(name, failure);
    return false;
}
