#include "tests/win/support/help_viewer_choice.h"

#include "app/help_viewer.h"

bool HelpViewerForTests = true;

bool SystemHasHelpViewer()
{
    return HelpViewerForTests;
}
