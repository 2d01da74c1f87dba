// The file seam for the unit tests, with the standard library only so that it
// builds on every platform: a temporary file beside the target, renamed over
// it once complete.
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "midi/file_write.h"

namespace fs = std::filesystem;

static fs::path FreshTemporaryBeside(const fs::path& target)
{
    std::error_code ec;
    for (int n = 0;; ++n) {
        fs::path candidate = target;
        candidate += ".~" + std::to_string(n) + ".tmp";
        if (!fs::exists(candidate, ec)) return candidate;
    }
}

bool WriteWholeFile(const char* path, const uint8_t* bytes, uint32_t count)
{
    if (!path || !*path) return false;
    fs::path target(path);
    fs::path temporary = FreshTemporaryBeside(target);
    std::error_code ec;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes), count);
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}
