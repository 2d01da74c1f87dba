// The read seam for the unit tests: a plain read with the standard library.
#include <fstream>

#include "settings/file_read.h"

int32_t ReadSmallFile(const char* path, uint8_t* bytes, uint32_t capacity, uint32_t* count)
{
    *count = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileUnreadable;
    in.read(reinterpret_cast<char*>(bytes), capacity);
    *count = (uint32_t)in.gcount();
    return in.peek() != std::ifstream::traits_type::eof() ? FileTooLarge : in.bad() ? FileUnreadable : FileRead;
}
