#include <new>

#include "events/event_memory.h"
#include "events/events.h"
#include "tests/unit/fakes/fakes.h"

long EventAllocationsLeft = -1;
long EventsAllocated;
long EventsFreed;

Event* AllocateEvent()
{
    if (EventAllocationsLeft == 0) return nullptr;
    if (EventAllocationsLeft > 0) --EventAllocationsLeft;
    Event* e = new (std::nothrow) Event;
    if (e) ++EventsAllocated;
    return e;
}

void FreeEvent(Event* event)
{
    ++EventsFreed;
    delete event;
}
