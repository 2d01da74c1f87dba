// What the test definitions of the platform seams record, and how a test
// steers them.
#pragma once
#include <string>
#include <vector>

// Every text passed to ReportError, in order.
extern std::vector<std::string> ReportedErrors;

// Event allocations still allowed before AllocateEvent starts to fail;
// negative means no limit.
extern long EventAllocationsLeft;
extern long EventsAllocated;
extern long EventsFreed;

// Every stand-in back to its starting state, the playback ones too.
void ResetFakes();
