#include "data/BackupFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdio.h>
#include <system_error>

#include "data/AtomicFile.h"
#include "data/FileBytes.h"

namespace cxb {

namespace fs = std::filesystem;

namespace {

// The number a copy's name stands for, or 0 when the name is no copy of
// `base` (the file name without folder).
int numberOf(std::string_view name, const std::string& base, std::string_view mark) {
    if (!name.starts_with(base)) return 0;
    name.remove_prefix(base.size());
    if (!name.starts_with(mark)) return 0;
    name.remove_prefix(mark.size());
    if (name.empty()) return 1;
    if (name.front() != '.' || name.size() < 2 || name.size() > 8 || name[1] == '0') return 0;
    int n = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n >= 2 ? n : 0;
}

int nextNumber(const std::string& file, std::string_view mark) {
    auto there = BackupFiles::numbers(file, mark);
    return there.empty() ? 1 : there.back() + 1;
}

} // namespace

std::string BackupFiles::pathOf(const std::string& file, std::string_view mark, int number) {
    std::string path = file;
    path += mark;
    if (number > 1) path += "." + std::to_string(number);
    return path;
}

std::vector<int> BackupFiles::numbers(const std::string& file, std::string_view mark) {
    std::vector<int> out;
    const fs::path path(file);
    const std::string base = path.filename().string();
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        if (int n = numberOf(it->path().filename().string(), base, mark); n > 0) out.push_back(n);
    std::sort(out.begin(), out.end());
    return out;
}

std::string BackupFiles::keep(const std::string& file, std::string_view mark, std::string_view bytes,
                              std::string& written) {
    const std::string target = pathOf(file, mark, nextNumber(file, mark));
    // A name that appeared meanwhile is never written over.
    if (pathExists(target)) return "cannot keep a copy of " + file + ": " + target + " is in the way";
    if (std::string why = AtomicFile::write(target, bytes); !why.empty()) return why;
    written = target;
    prune(file, mark);
    return {};
}

std::string BackupFiles::moveAside(const std::string& file, std::string_view mark, std::string& movedTo) {
    const std::string target = pathOf(file, mark, nextNumber(file, mark));
    if (pathExists(target)) return "cannot move " + file + " aside: " + target + " is in the way";
    // Never over a name that appeared meanwhile; a file system that cannot
    // promise that gets a plain rename, after the check above.
    int moved = ::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (moved != 0 && errno == EINVAL) moved = ::rename(file.c_str(), target.c_str());
    if (moved != 0)
        return "cannot move " + file + " aside to " + target + ": " + std::strerror(errno);
    movedTo = target;
    prune(file, mark);
    return {};
}

void BackupFiles::prune(const std::string& file, std::string_view mark) {
    auto there = numbers(file, mark);
    if (there.size() <= static_cast<std::size_t>(kKept)) return;
    for (std::size_t i = 0; i + kKept < there.size(); ++i) {
        std::error_code ignored;
        fs::remove_all(pathOf(file, mark, there[i]), ignored);
    }
}

} // namespace cxb
