#pragma once
// Whole files in one call, for setting up and checking a test's files.

#include <filesystem>
#include <string>

namespace vtest {

std::string ReadFile(const std::filesystem::path& path);  // "" when it cannot be read
void WriteFile(const std::filesystem::path& path, const std::string& data);
bool Exists(const std::filesystem::path& path);  // following links

}  // namespace vtest
