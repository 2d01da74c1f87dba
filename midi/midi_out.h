// The system's MIDI output, reached through the MIDI mapper.
#pragma once
#include <cstdint>

// Opens the MIDI mapper and stores its handle; false when it cannot be opened.
bool MidiOutOpenMapper(uintptr_t* handle);

// Sends one packed short message: status in bits 0-7, first data byte in
// bits 8-15, second in bits 16-23. The result of the send is not reported.
void MidiOutSend(uintptr_t handle, uint32_t message);

void MidiOutClose(uintptr_t handle);
