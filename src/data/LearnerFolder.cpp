#include "data/LearnerFolder.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

#include "data/AtomicFile.h"
#include "data/FileBytes.h"
#include "data/InstallManifest.h"

namespace cxb {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBankExtension = ".tk";
// A staging folder older than this was left by a start that was killed.
constexpr auto kStaleStaging = std::chrono::hours(1);

std::string describe(const std::string& what, const fs::path& path, const std::error_code& ec) {
    return what + " " + path.string() + ": " + ec.message();
}

bool isBank(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.size() > kBankExtension.size() && name.ends_with(kBankExtension);
}

void syncPath(const fs::path& path, bool wholeFileSystem) {
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (wholeFileSystem)
        ::syncfs(fd);
    else
        ::fsync(fd);
    ::close(fd);
}

std::string stagingPrefix(const fs::path& folder) {
    std::string prefix = ".";
    prefix += folder.filename().string();
    prefix += ".new-";
    return prefix;
}

// Removes staging folders of earlier first starts that never finished.
void removeStaleStaging(const fs::path& folder) {
    std::error_code ec;
    const std::string prefix = stagingPrefix(folder);
    const auto now = fs::file_time_type::clock::now();
    for (auto it = fs::directory_iterator(folder.parent_path(), ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (!it->path().filename().string().starts_with(prefix)) continue;
        std::error_code timeError;
        auto written = fs::last_write_time(it->path(), timeError);
        if (!timeError && now - written > kStaleStaging) fs::remove_all(it->path(), timeError);
    }
}

// The first start: the whole template is copied into a staging folder beside
// the learner's, put on the disk, and renamed into place, so the folder
// appears complete or not at all. Returns false, with the reason, only when
// the folder could not be made; when another start made it first, returns
// true with `made` false.
bool createFromTemplate(const fs::path& templateDir, const fs::path& folder, bool& made, std::string& error) {
    made = false;
    std::error_code ec;
    const fs::path parent = folder.parent_path();
    fs::create_directories(parent, ec);
    if (ec) return error = describe("cannot create", parent, ec), false;
    removeStaleStaging(folder);

    std::string pattern = (parent / (stagingPrefix(folder) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        return error = describe("cannot create a folder in", parent, std::error_code(errno, std::generic_category())),
               false;
    const fs::path staging = pattern;
    auto discard = [&] {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
    };
    fs::copy(templateDir, staging, fs::copy_options::recursive, ec);
    if (ec) {
        discard();
        return error = describe("cannot copy", templateDir, ec), false;
    }
    ::chmod(staging.c_str(), 0755);
    syncPath(staging, true);
    if (::rename(staging.c_str(), folder.c_str()) != 0) {
        const int why = errno;
        discard();
        if (why == ENOTEMPTY || why == EEXIST) return true; // another start was quicker
        return error = describe("cannot create", folder, std::error_code(why, std::generic_category())), false;
    }
    syncPath(parent, false);
    made = true;
    return true;
}

// The files the manifest follows: all the template brings but the banks
// (upgraded with their counters) and the state file (the learner's).
bool isTracked(const std::string& relative) {
    return !isBank(relative) && relative != "bankdata/sys.dat" && relative.find('\n') == std::string::npos;
}

// Copies what the folder lacks, brings the template's files that the learner
// never changed up to the template's copies, and upgrades the shipped banks.
void update(const fs::path& templateDir, const fs::path& folder, InstallManifest& manifest,
            LearnerFolder::Report& report) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(templateDir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const fs::path relative = it->path().lexically_relative(templateDir);
        const fs::path target = folder / relative;
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            if (!fs::is_directory(target, typeError) && !fs::create_directories(target, typeError))
                report.problems.push_back(describe("cannot create", target, typeError));
            continue;
        }
        if (!it->is_regular_file(typeError)) continue;
        if (isBank(relative)) {
            auto upgrade = BankUpgrade::apply(it->path().string(), target.string());
            if (upgrade.outcome == BankUpgrade::Outcome::Failed) report.problems.push_back(upgrade.error);
            report.banks.emplace_back(relative.string(), std::move(upgrade));
            continue;
        }
        const std::string name = relative.generic_string();
        const bool tracked = isTracked(name);
        const bool there = pathExists(target.string());
        auto bytes = readFileBytes(it->path().string());
        if (!bytes) {
            if (!there) report.problems.push_back("cannot read " + it->path().string());
            continue;
        }
        const std::string shipped = InstallManifest::sha256(*bytes);
        if (there) {
            if (!tracked) continue;
            // The learner's copy: the template's (as installed, or as shipped
            // now) or the learner's own.
            auto installed = manifest.files.find(name);
            const auto current = InstallManifest::sha256Of(target.string());
            if (current && *current == shipped) {
                manifest.files[name] = shipped;
                continue;
            }
            if (installed == manifest.files.end() || !current || *current != installed->second) continue;
            if (std::string why = AtomicFile::write(target.string(), *bytes); !why.empty()) {
                report.problems.push_back(why);
                continue;
            }
            manifest.files[name] = shipped;
            report.refreshed.push_back(name);
            continue;
        }
        std::string why = AtomicFile::write(target.string(), *bytes);
        if (why.empty()) {
            report.copied.push_back(relative.string());
            if (tracked) manifest.files[name] = shipped;
        } else {
            report.problems.push_back(why);
        }
    }
    if (ec) report.problems.push_back(describe("cannot read", templateDir, ec));
}

InstallManifest readManifest(const fs::path& folder) {
    auto text = readFileBytes((folder / InstallManifest::kFileName).string());
    if (!text) return {};
    return InstallManifest::parse(*text).value_or(InstallManifest{});
}

void writeManifest(const fs::path& folder, const InstallManifest& manifest, LearnerFolder::Report& report) {
    const std::string path = (folder / InstallManifest::kFileName).string();
    const std::string text = manifest.serialize();
    if (auto old = readFileBytes(path); old && *old == text) return;
    if (std::string why = AtomicFile::write(path, text); !why.empty()) report.problems.push_back(why);
}

void listFiles(const fs::path& folder, std::vector<std::string>& out) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file(ec)) out.push_back(it->path().lexically_relative(folder).string());
}

} // namespace

LearnerFolder::Report LearnerFolder::prepare(const std::string& templateDir, const std::string& folder) {
    Report report;
    std::error_code ec;
    const fs::path from = fs::absolute(templateDir, ec);
    fs::path to = fs::absolute(folder, ec).lexically_normal();
    if (!to.has_filename()) to = to.parent_path(); // a trailing slash
    if (!fs::is_directory(from, ec)) {
        report.error = "the template folder " + templateDir + " is missing";
        return report;
    }
    if (to.filename().empty()) {
        report.error = "no folder name in " + folder;
        return report;
    }
    if (!pathExists(to.string())) {
        if (!createFromTemplate(from, to, report.created, report.error)) return report;
        if (report.created) {
            listFiles(to, report.copied);
            InstallManifest manifest;
            for (const std::string& name : report.copied) {
                const std::string generic = fs::path(name).generic_string();
                if (!isTracked(generic)) continue;
                if (auto sum = InstallManifest::sha256Of((to / name).string())) manifest.files[generic] = *sum;
            }
            writeManifest(to, manifest, report);
            report.usable = true;
            return report;
        }
    }
    if (!fs::is_directory(to, ec)) {
        report.error = to.string() + " is not a folder";
        return report;
    }
    InstallManifest manifest = readManifest(to);
    update(from, to, manifest, report);
    writeManifest(to, manifest, report);
    report.usable = true;
    return report;
}

} // namespace cxb
