#pragma once
#include <optional>
#include <string>

namespace cxb {

// Whole-file reads. nullopt when the file cannot be opened or read; a
// folder in place of the file counts as unreadable.
std::optional<std::string> readFileBytes(const std::string& nativePath);
bool fileExists(const std::string& nativePath);
// Anything at all (file, folder, dangling link) at that path.
bool pathExists(const std::string& nativePath);

} // namespace cxb
