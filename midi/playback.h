// Play and Stop: the merged piece sent to the MIDI output in real time.
#pragma once

// Merges the voices, opens the output and starts the first timer. False when
// the output cannot be opened or the first timer cannot be started.
bool StartPlayback();

// Ends the playback at once: pending timer killed, sounding notes ended,
// output closed, commands idle. Always true.
bool StopPlayback();

// Ends any playback in progress before the process tears down; no timer
// callback runs after it returns.
void EndPlaybackForExit();
