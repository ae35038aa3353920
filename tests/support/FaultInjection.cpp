#include "support/FaultInjection.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "data/AtomicFile.h"

namespace cxb::test {
namespace fs = std::filesystem;

namespace {

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string folderOf(const std::string& path) { return fs::path(path).parent_path().string(); }
std::string nameOf(const std::string& path) { return fs::path(path).filename().string(); }

} // namespace

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size < 0) return {}; // missing, unreadable, or a folder
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::vector<std::string> folderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> temporariesOf(const std::string& dir, const std::string& target) {
    std::vector<std::string> names;
    for (const auto& name : folderEntries(dir))
        if (AtomicFile::isTemporaryOf(name, target)) names.push_back(name);
    return names;
}

FileSizeLimit::FileSizeLimit(std::size_t bytes) {
    rlimit lim {};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    oldSoft_ = lim.rlim_cur;
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    lim.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ADD_FAILURE() << "cannot set the file size limit";
}

FileSizeLimit::~FileSizeLimit() {
    rlimit lim {};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = oldSoft_;
    ::setrlimit(RLIMIT_FSIZE, &lim);
    std::signal(SIGXFSZ, oldHandler_);
}

SmallDisk::SmallDisk(const std::string& mountPoint, std::size_t bytes) : mountPoint_(mountPoint) {
    fs::create_directories(mountPoint_);
    std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", mountPoint_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0)
        mounted_ = true;
    else
        why_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(mountPoint_.c_str(), MNT_DETACH);
}

std::size_t SmallDisk::blockSize() const {
    struct statvfs v {};
    ::statvfs(mountPoint_.c_str(), &v);
    return v.f_frsize;
}

std::size_t SmallDisk::freeBytes() const {
    struct statvfs v {};
    ::statvfs(mountPoint_.c_str(), &v);
    return static_cast<std::size_t>(v.f_bavail) * v.f_frsize;
}

std::size_t SmallDisk::leaveFree(std::size_t bytes) {
    dropFiller();
    std::size_t have = freeBytes();
    std::size_t want = bytes / blockSize() * blockSize();
    if (want < have) writeAll(mountPoint_ + "/filler", std::string(have - want, 'f'));
    return freeBytes();
}

void SmallDisk::dropFiller() { ::unlink((mountPoint_ + "/filler").c_str()); }

std::vector<SaveFault> saveFaults(std::size_t imageSize) {
    auto hookFrom = [](std::size_t failAt) {
        return [failAt](const std::string&) -> std::shared_ptr<void> {
            AtomicFile::setWriteHook([failAt](const std::string&, std::size_t offset) { return offset < failAt; });
            return std::shared_ptr<void>(nullptr, [](void*) { AtomicFile::setWriteHook({}); });
        };
    };
    auto limitAt = [](std::size_t bytes) {
        return [bytes](const std::string&) -> std::shared_ptr<void> { return std::make_shared<FileSizeLimit>(bytes); };
    };
    std::vector<SaveFault> faults = {
        {"no space for the first chunk", hookFrom(0)},
        {"disk full at once", limitAt(0)},
        {"disk full after 1 byte", limitAt(1)},
        {"disk full half-way", limitAt(imageSize / 2)},
        {"disk full at the last byte", limitAt(imageSize > 0 ? imageSize - 1 : 0)},
        {"write-protected file",
         [](const std::string& target) -> std::shared_ptr<void> {
             fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
             return std::shared_ptr<void>(nullptr, [target](void*) {
                 fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
             });
         },
         2, FileProblem::WriteProtected},
    };
    // AtomicFile writes in chunks of 1 MiB; a file of one chunk has no other.
    constexpr std::size_t kChunk = 1u << 20;
    if (imageSize > kChunk) faults.push_back({"no space for the last chunk", hookFrom((imageSize - 1) / kChunk * kChunk)});
    if (::geteuid() != 0) {
        faults.push_back({"read-only folder", [](const std::string& target) -> std::shared_ptr<void> {
                              std::string folder = folderOf(target);
                              fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
                              return std::shared_ptr<void>(nullptr, [folder](void*) {
                                  fs::permissions(folder, fs::perms::owner_all);
                              });
                          },
                          2, FileProblem::NoPermission});
    }
    return faults;
}

void expectSavesFailCleanly(const std::string& target, const std::string& old, const std::string& fresh,
                            const std::function<bool()>& save) {
    ASSERT_NE(old, fresh) << "the two images must differ";
    const std::string folder = folderOf(target);
    for (const auto& fault : saveFaults(fresh.size())) {
        SCOPED_TRACE(fault.name);
        writeAll(target, old);
        const auto before = folderEntries(folder);
        {
            auto guard = fault.arm(target);
            EXPECT_FALSE(save()) << "the failed save was reported as a success";
        }
        EXPECT_TRUE(readFile(target) == old) << "the old file changed";
        EXPECT_EQ(folderEntries(folder), before) << "the failed save left something behind";
        EXPECT_TRUE(save()) << "the save after the fault failed";
        EXPECT_TRUE(readFile(target) == fresh) << "the save after the fault did not write the new image";
        EXPECT_TRUE(temporariesOf(folder, nameOf(target)).empty());
    }
}

} // namespace cxb::test
