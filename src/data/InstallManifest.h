#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace cxb {

// What the template put into a learner's folder, file by file, with the
// SHA-256 of the bytes it put there: a file that still holds those bytes is
// the template's and may be replaced by a newer template's copy; one that
// holds others was changed by the learner and stays. Kept as the text file
// ".chixuebao-manifest" in the folder (format in docs/MANIFEST.md).
class InstallManifest {
public:
    static constexpr const char* kFileName = ".chixuebao-manifest";
    static constexpr std::string_view kFirstLine = "chixuebao-manifest 1";

    // Relative path (with '/') -> lower-case hex SHA-256.
    std::map<std::string, std::string> files;

    // Reads the manifest's text; nullopt when it is not one (a missing
    // manifest is an empty one for the caller to decide).
    static std::optional<InstallManifest> parse(std::string_view text);
    std::string serialize() const;

    static std::string sha256(std::string_view bytes);
    // The checksum of a file, or nullopt when it cannot be read.
    static std::optional<std::string> sha256Of(const std::string& nativePath);
};

} // namespace cxb
