// A clock for following the music: milliseconds since some fixed moment,
// wrapping at 2^32, so only differences of nearby readings mean anything.
#pragma once
#include <cstdint>

uint32_t ClockMilliseconds();
