// Where single Events come from. Either call may be given a null pointer's
// worth of bad luck: AllocateEvent returns nullptr when memory is exhausted.
#pragma once

struct Event;

Event* AllocateEvent();
void FreeEvent(Event* event);
