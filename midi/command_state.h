// Menu and toolbar state as playback starts and ends. The Windows definition
// lives with the main window; tests record the calls.
#pragma once

void ShowCommandsPlaying();  // Play and Compose greyed, Stop enabled; toolbar alike
void ShowCommandsIdle();     // Play and Compose enabled, Stop greyed; toolbar alike
