#include "app/report_error.h"
#include "tests/unit/fakes/fakes.h"

std::vector<std::string> ReportedErrors;

void ReportError(const char* text)
{
    ReportedErrors.push_back(text);
}
