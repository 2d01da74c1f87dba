// The Windows tests decide whether the system has a help viewer.
#pragma once

extern bool HelpViewerForTests;  // what SystemHasHelpViewer answers; true at start, as under Wine
