// Whole files read and written by the tests, and the names in a folder.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::filesystem::path& path);  // empty when it cannot be read
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

// The names (in UTF-8) of the files in a folder, in the order the system lists them.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);
