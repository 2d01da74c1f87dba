#include "events/event_memory.h"

#include <new>

#include "events/events.h"

Event* AllocateEvent()
{
    return new (std::nothrow) Event;
}

void FreeEvent(Event* event)
{
    delete event;
}
