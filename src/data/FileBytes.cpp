#include "data/FileBytes.h"

#include <fstream>
#include <sys/stat.h>

namespace cxb {

std::optional<std::string> readFileBytes(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    // The file may have grown since stat; take the rest too.
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) bytes.append(buf, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool fileExists(const std::string& nativePath) {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool pathExists(const std::string& nativePath) {
    struct stat st {};
    return ::lstat(nativePath.c_str(), &st) == 0;
}

} // namespace cxb
