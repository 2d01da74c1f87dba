#include "tests/unit/fakes/fakes.h"

void ResetFakes()
{
    ReportedErrors.clear();
    EventAllocationsLeft = -1;
}
