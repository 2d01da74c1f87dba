// A piece in memory: circular event lists with a sentinel, the sixteen voice
// tracks, the song-wide header values and the merged playback list.
#pragma once
#include <cstdint>

#include "settings/settings.h"

enum { NoteMessage = 0, ProgramChange = 1 };

struct Event {
    int32_t Delta;         // ticks after the previous event of the same list
    int32_t WorkingDelta;  // scratch of the merge
    int32_t Kind;          // NoteMessage or ProgramChange
    uint8_t Channel;
    uint8_t Data[2];       // note: key, velocity (0 ends the note); program change: program, 0
    Event* Next;
    Event* Prev;
};

// The sentinel is part of the list itself: the lists live in static storage
// and their creation allocates nothing, so it cannot fail.
struct EventList {
    Event Sentinel;
};

struct VoiceTrack {
    int32_t Octave;
    int32_t Program;                // the instrument the voice's list starts with
    int32_t FormFlags[FormCount];
    int32_t FormOrder[FormCount];   // the forms its slots play, in slot order, as drawn
    int32_t Active;
    int32_t Silent;
    EventList Events;
};

struct SongHeaderValues {
    int32_t TicksPerQuarter;
    int32_t TrackCount;
    int32_t Tempo;
    int32_t TimeSignatureNumerator;
    int32_t TimeSignatureDenominatorPower;
    int32_t ClocksPerClick;
    int32_t ThirtySecondsPerQuarter;
    int32_t KeySignature;
};

extern VoiceTrack VoiceTracks[VoiceCount];
extern SongHeaderValues SongHeader;
extern EventList PlaybackList;
extern bool SongStorageCreated;

void CreateSongStorage();
// The storage made on first use, then every voice's list emptied.
void ClearVoiceLists();
void InitEventList(EventList* list);

Event* AppendProgramChange(EventList* list, int32_t channel, int32_t program);
Event* AppendNoteMessage(EventList* list, int32_t delta, int32_t channel, int32_t note, int32_t velocity);
void ClearEventList(EventList* list);

inline Event* FirstEvent(EventList* list) { return list->Sentinel.Next; }
inline bool IsEnd(const EventList* list, const Event* e) { return e == &list->Sentinel; }
int32_t CountEvents(EventList* list);
