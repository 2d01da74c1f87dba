#include "tests/unit/fakes/fakes.h"
#include "tests/unit/fakes/playback_fakes.h"

void ResetFakes()
{
    ReportedErrors.clear();
    EventAllocationsLeft = -1;
    ResetMidiOutFake();
    ResetTimerFake();
    ResetCommandRecorder();
    SetClockMilliseconds(0);
}
