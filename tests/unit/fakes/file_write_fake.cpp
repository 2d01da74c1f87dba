// The file seam for the unit tests and benchmarks: a plain write with the
// standard library. How a save replaces its target is the real writer's, and
// the Windows tests check it there.
#include <fstream>

#include "midi/file_write.h"

bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count, WriteFailure* failure)
{
    if (failure) *failure = WriteFailure{LeftNoFile, ""};
    if (!path || !*path) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes), count);
    out.close();
    return (bool)out;
}
