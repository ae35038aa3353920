#include "data/InstallManifest.h"

#include <openssl/evp.h>

#include "data/FileBytes.h"

namespace cxb {

namespace {

bool isHexSum(std::string_view s) {
    if (s.size() != 64) return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

} // namespace

std::optional<InstallManifest> InstallManifest::parse(std::string_view text) {
    InstallManifest m;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt; // every line ends, the last too
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
            continue;
        }
        // "<sum> <path>": the path is the rest of the line and may hold spaces.
        if (line.size() < 66 || line[64] != ' ' || !isHexSum(line.substr(0, 64))) return std::nullopt;
        std::string_view path = line.substr(65);
        if (path.find_first_not_of(' ') == std::string_view::npos || path.front() == '/' ||
            path.find('\0') != std::string_view::npos)
            return std::nullopt;
        m.files[std::string(path)] = std::string(line.substr(0, 64));
    }
    if (first) return std::nullopt;
    return m;
}

std::string InstallManifest::serialize() const {
    std::string out(kFirstLine);
    out += '\n';
    for (const auto& [path, sum] : files) {
        out += sum;
        out += ' ';
        out += path;
        out += '\n';
    }
    return out;
}

std::string InstallManifest::sha256(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

std::optional<std::string> InstallManifest::sha256Of(const std::string& nativePath) {
    auto bytes = readFileBytes(nativePath);
    if (!bytes) return std::nullopt;
    return sha256(*bytes);
}

} // namespace cxb
