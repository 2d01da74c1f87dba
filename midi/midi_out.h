// The system's MIDI output, reached through the MIDI mapper.
#pragma once
#include <cstdint>

enum : uint32_t { MidiOutOk = 0 };

// Opens the MIDI mapper and stores its handle. Returns MidiOutOk, or the
// system's error code when it cannot be opened (the handle is then untouched).
uint32_t MidiOutOpenMapper(uintptr_t* handle);

// The system's own text for an error code of the MIDI output, cut to fit and
// always ended with a zero.
void MidiOutErrorText(uint32_t code, char* text, uint32_t size);

// Sends one packed short message: status in bits 0-7, first data byte in
// bits 8-15, second in bits 16-23. The result of the send is not reported.
void MidiOutSend(uintptr_t handle, uint32_t message);

void MidiOutClose(uintptr_t handle);
