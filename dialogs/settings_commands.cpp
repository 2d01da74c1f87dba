#include "dialogs/settings_commands.h"

#include <string>

#include "app/report_error.h"
#include "midi/file_write.h"
#include "settings/file_read.h"
#include "settings/settings_file.h"

bool OpenSettingsFile(const char* path)
{
    static uint8_t bytes[SettingsFileLargest];
    static CompositionSettings opened;
    uint32_t count = 0;
    std::string problem;
    const int32_t read = ReadSmallFile(path, bytes, sizeof bytes, &count);
    if (read == FileUnreadable) problem = "The file cannot be read";
    if (read == FileTooLarge)
        problem = "expected a file of at most " + std::to_string((int)SettingsFileLargest) +
                  " bytes, found a larger one";
    if (read == FileRead && ParseSettingsText(bytes, count, &opened, &problem)) {
        ReplaceSettings(opened);
        return true;
    }
    ReportError(("ERROR: Cannot open settings file " + std::string(path) + "\n" + problem +
                 "\nThe settings stay as they were")
                    .c_str());
    return false;
}

bool SaveSettingsFile(const char* path)
{
    static WriteFailure failure;
    CompositionSettings now = Settings;
    now.TempoIndex = ReadTempoIndex();
    const std::string text = SettingsText(now);
    if (WriteWholeFile(path, (const uint8_t*)text.data(), (uint32_t)text.size(), &failure)) return true;
    ReportWriteFailure(path, failure);
    return false;
}
