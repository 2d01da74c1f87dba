// Puts a whole file image on disk safely: the bytes go to a temporary file
// beside the target, which replaces the target only once every byte is
// written and the file closed. On failure the temporary file is removed and
// an earlier file of that name is left as it was.
#pragma once
#include <cstdint>

bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count);
