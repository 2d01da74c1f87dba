// Whether the running system can show the help file of Help > Contents.
#pragma once

// True on Windows before Vista, which has the viewer for the help file's
// format, and under Wine, which brings one of its own; false on Windows Vista
// and later, which no longer include it, also when they run the program in
// the compatibility mode of an older Windows.
bool SystemHasHelpViewer();
