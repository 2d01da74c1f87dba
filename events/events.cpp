#include "events/events.h"

#include "events/event_memory.h"

VoiceTrack VoiceTracks[VoiceCount];
SongHeaderValues SongHeader;
EventList PlaybackList;
bool SongStorageCreated;

void InitEventList(EventList* list)
{
    list->Sentinel.Next = &list->Sentinel;
    list->Sentinel.Prev = &list->Sentinel;
}

void CreateSongStorage()
{
    SongHeader.TicksPerQuarter = TicksPerQuarter;
    SongHeader.TrackCount = 0;
    SongHeader.Tempo = 60;
    SongHeader.TimeSignatureNumerator = 4;
    SongHeader.TimeSignatureDenominatorPower = 2;
    SongHeader.ClocksPerClick = 24;
    SongHeader.ThirtySecondsPerQuarter = 8;
    SongHeader.KeySignature = 0;
    for (int v = 0; v < VoiceCount; ++v) InitEventList(&VoiceTracks[v].Events);
    InitEventList(&PlaybackList);
}

void ClearVoiceLists()
{
    if (!SongStorageCreated) {
        CreateSongStorage();
        SongStorageCreated = true;
    }
    for (int v = 0; v < VoiceCount; ++v) ClearEventList(&VoiceTracks[v].Events);
}

static Event* AppendEvent(EventList* list, int32_t kind, int32_t delta, int32_t channel, int32_t a, int32_t b)
{
    Event* e = AllocateEvent();
    if (!e) return nullptr;
    e->Delta = delta;
    e->WorkingDelta = delta;
    e->Kind = kind;
    e->Channel = (uint8_t)channel;
    e->Data[0] = (uint8_t)a;
    e->Data[1] = (uint8_t)b;
    Event* s = &list->Sentinel;
    e->Next = s;
    e->Prev = s->Prev;
    s->Prev->Next = e;
    s->Prev = e;
    return e;
}

Event* AppendProgramChange(EventList* list, int32_t channel, int32_t program)
{
    return AppendEvent(list, ProgramChange, 0, channel, program, 0);
}

Event* AppendNoteMessage(EventList* list, int32_t delta, int32_t channel, int32_t note, int32_t velocity)
{
    return AppendEvent(list, NoteMessage, delta, channel, note, velocity);
}

void ClearEventList(EventList* list)
{
    Event* s = &list->Sentinel;
    Event* node = s->Next;
    while (node != s) {
        Event* next = node->Next;
        node->Next->Prev = node->Prev;
        node->Prev->Next = node->Next;
        FreeEvent(node);
        node = next;
    }
}

int32_t CountEvents(EventList* list)
{
    int32_t n = 0;
    for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next) ++n;
    return n;
}
