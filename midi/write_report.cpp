#include <string>

#include "app/report_error.h"
#include "midi/file_write.h"

void ReportWriteFailure(const char* name, const WriteFailure& failure)
{
    std::string text = "ERROR: Cannot write file ";
    text += name;
    if (failure.Left == LeftEarlier) text += "\nIt keeps its earlier content";
    if (failure.Left == LeftEarlierInCopy) {
        text += "\nIts earlier content is kept in ";
        text += failure.KeptCopy;
    }
    if (failure.Left == LeftEarlierLost) text += "\nIts earlier content could not be put back";
    ReportError(text.c_str());
}
