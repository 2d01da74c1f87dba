#include "midi/merge.h"

#include <cstdint>

#include "events/events.h"

enum : uint32_t { NoMinimum = 0xFFFFFFFFu };

static bool Sounds(int voice, Event* const* cursors)
{
    return VoiceTracks[voice].Active && !IsEnd(&VoiceTracks[voice].Events, cursors[voice]);
}

static bool CopyEvent(const Event* from, int32_t delta)
{
    Event* e = from->Kind == ProgramChange
                   ? AppendProgramChange(&PlaybackList, from->Channel, from->Data[0])
                   : AppendNoteMessage(&PlaybackList, delta, from->Channel, from->Data[0], from->Data[1]);
    if (!e) return false;
    e->Delta = delta;
    e->WorkingDelta = delta;
    return true;
}

// The smallest working delta among the voices' next Events, compared unsigned.
static uint32_t PassMinimum(Event* const* cursors)
{
    uint32_t minimum = NoMinimum;
    for (int v = 0; v < VoiceCount; ++v) {
        if (!Sounds(v, cursors)) continue;
        uint32_t due = (uint32_t)cursors[v]->WorkingDelta;
        if (minimum == NoMinimum || due < minimum) minimum = due;
    }
    return minimum;
}

// Copies every Event due at the pass minimum, lowest voice first, and brings
// the other voices' next Events closer by the same amount.
static bool CopyPass(Event** cursors, uint32_t minimum)
{
    bool firstInPass = true;
    for (int v = 0; v < VoiceCount; ++v) {
        if (!Sounds(v, cursors)) continue;
        EventList* list = &VoiceTracks[v].Events;
        Event* e = cursors[v];
        if ((uint32_t)e->WorkingDelta != minimum) {
            e->WorkingDelta = (int32_t)((uint32_t)e->WorkingDelta - minimum);
            continue;
        }
        if (!CopyEvent(e, firstInPass ? (int32_t)minimum : 0)) return false;
        firstInPass = false;
        for (e = e->Next; !IsEnd(list, e) && e->WorkingDelta == 0; e = e->Next)
            if (!CopyEvent(e, 0)) return false;
        cursors[v] = e;
    }
    return true;
}

bool MergeVoiceLists()
{
    ClearEventList(&PlaybackList);
    Event* cursors[VoiceCount];
    for (int v = 0; v < VoiceCount; ++v) {
        EventList* list = &VoiceTracks[v].Events;
        if (VoiceTracks[v].Active)
            for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next) e->WorkingDelta = e->Delta;
        cursors[v] = FirstEvent(list);
    }
    for (;;) {
        uint32_t minimum = PassMinimum(cursors);
        if (minimum == NoMinimum) return true;
        if (!CopyPass(cursors, minimum)) {
            ClearEventList(&PlaybackList);
            return false;
        }
    }
}
