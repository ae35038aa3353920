#include "data/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace cxb {
namespace {

AtomicFile::WriteHook& hook() {
    static AtomicFile::WriteHook h;
    return h;
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string describe(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool hasSuffix6(std::string_view rest) {
    if (rest.size() != 6) return false;
    for (char c : rest)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

// "<target>.through-XXXXXX": the verified copy of an in-place save.
bool isThroughCopyOf(std::string_view name, std::string_view target) {
    constexpr std::string_view kMark = ".through-";
    return !target.empty() && name.size() == target.size() + kMark.size() + 6 && name.starts_with(target) &&
           name.substr(target.size(), kMark.size()) == kMark && hasSuffix6(name.substr(target.size() + kMark.size()));
}

// The target a temporary or through-copy name belongs to, or "".
std::string targetOf(std::string_view name, std::string_view mark) {
    if (name.size() < mark.size() + 7) return {};
    const std::size_t at = name.size() - 6 - mark.size();
    if (name.substr(at, mark.size()) != mark || !hasSuffix6(name.substr(at + mark.size()))) return {};
    return std::string(name.substr(0, at));
}

// Removes the temporary files of `target` that no save holds any more: those
// of a process that died while saving. One that is locked belongs to a save
// in progress and stays. Nothing else in the folder is touched.
void removeStaleTemporaries(const std::string& folder, const std::string& target) {
    DIR* d = ::opendir(folder.c_str());
    if (!d) return;
    const int dfd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        if (!AtomicFile::isTemporaryOf(e->d_name, target) && !isThroughCopyOf(e->d_name, target)) continue;
        int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {}, named {};
        // Only a regular file that nobody holds, and still the one under
        // that name once the lock is ours.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dfd, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(opened, named))
            ::unlinkat(dfd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

// Creates and locks a temporary file beside `nativePath`. Between creating
// and locking, another save's clean-up may take the fresh file for a stale
// one; then it is made again. Returns -1 with errno set on failure.
int createTemporary(const std::string& nativePath, std::string& tmp) {
    for (int attempt = 0;; ++attempt) {
        tmp = nativePath + ".tmp-XXXXXX";
        int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
        if (fd < 0) return -1;
        if (::flock(fd, LOCK_EX) != 0) return fd; // no locks on this file system: go on unlocked
        struct stat opened {}, named {};
        if (::fstat(fd, &opened) == 0 && ::lstat(tmp.c_str(), &named) == 0 && sameFile(opened, named)) return fd;
        ::close(fd);
        if (attempt == 10) {
            errno = EAGAIN;
            return -1;
        }
    }
}

// The file a save of `path` replaces: `path` itself, or for a symbolic link
// the file at the end of its chain of links, which need not exist yet. False
// with errno set when the chain never ends or a link cannot be read.
bool finalTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        // Nothing there (or a folder on the way missing): the save will
        // create the file or find out why it cannot.
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char link[PATH_MAX];
        ssize_t n = ::readlink(target.c_str(), link, sizeof link);
        if (n < 0) return false;
        if (static_cast<std::size_t>(n) == sizeof link) {
            errno = ENAMETOOLONG;
            return false;
        }
        std::string next(link, static_cast<std::size_t>(n));
        if (next.empty() || next[0] != '/') {
            std::string folder = folderOf(target);
            next = (folder == "/" ? folder : folder + "/") + next;
        }
        target = std::move(next);
    }
    errno = ELOOP;
    return false;
}

// Why the file at `target` must be left alone, or "" when a save may replace
// it (and what kind of problem that is, in `problem`). The owner's write permission is what marks a file read-only, and it
// holds for root as well; a file the running user may not write is not
// replaced behind its owner's back either.
std::string protection(const std::string& target, FileProblem& problem) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return {}; // a new file
    if (S_ISDIR(st.st_mode)) {
        problem = FileProblem::IsFolder;
        return "cannot replace " + target + ": it is a folder";
    }
    if (S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) {
        problem = FileProblem::WriteProtected;
        return "cannot replace " + target + ": it is write-protected";
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        problem = problemFromErrno(errno);
        return describe("cannot replace", target);
    }
    return {};
}

// Writes all of `bytes` at `fd` from offset 0, through the test hook. False
// with errno set on failure.
bool writeAll(int fd, const std::string& hookPath, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (hook() && !hook()(hookPath, done)) {
            errno = ENOSPC;
            return false;
        }
        std::size_t chunk = bytes.size() - done;
        if (chunk > (1u << 20)) chunk = 1u << 20;
        ssize_t n = ::pwrite(fd, bytes.data() + done, chunk, static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// True when the file at `fd` holds exactly `bytes`.
bool holds(int fd, std::string_view bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) != bytes.size()) return false;
    std::string back(1u << 16, '\0');
    for (std::size_t at = 0; at < bytes.size();) {
        ssize_t n = ::pread(fd, back.data(), std::min(back.size(), bytes.size() - at), static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        if (std::memcmp(back.data(), bytes.data() + at, static_cast<std::size_t>(n)) != 0) return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const std::string& folder) {
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Puts `bytes` into the existing file `target` in place: its inode, owner,
// group, mode and every hard link stay. Returns false with errno set.
bool writeInPlace(const std::string& target, std::string_view bytes, const std::string& hookPath) {
    int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    bool ok = writeAll(fd, hookPath, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
              ::fsync(fd) == 0;
    const int why = errno;
    ::close(fd);
    errno = why;
    return ok;
}

constexpr std::string_view kThroughMark = ".through-";

// Reads the whole file at `fd` into `bytes` (already of its size).
bool holdsAll(int fd, std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        ssize_t n = ::pread(fd, bytes.data() + at, bytes.size() - at, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

int AtomicFile::tidy(const std::string& folder) {
    int tidied = 0;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return 0;
    const int dfd = ::dirfd(d);
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
    for (const std::string& name : names) {
        const std::string temporaryOf = targetOf(name, ".tmp-");
        const std::string throughOf = targetOf(name, kThroughMark);
        if (temporaryOf.empty() && throughOf.empty()) continue;
        int fd = ::openat(dfd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {}, named {};
        // Only what no save holds: a save in progress keeps its lock.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dfd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(opened, named)) {
            bool done = true;
            if (!throughOf.empty()) {
                // An in-place save that was cut short: its copy is complete
                // and verified, the file itself may be part new.
                std::string bytes(static_cast<std::size_t>(opened.st_size), '\0');
                done = holdsAll(fd, bytes) && writeInPlace(folder + "/" + throughOf, bytes, folder + "/" + throughOf);
            }
            if (done && ::unlinkat(dfd, name.c_str(), 0) == 0) ++tidied;
        }
        ::close(fd);
    }
    ::closedir(d);
    return tidied;
}

void AtomicFile::setWriteHook(WriteHook h) { hook() = std::move(h); }

bool AtomicFile::isTemporaryOf(std::string_view name, std::string_view target) {
    // "<target>.tmp-" and the six letters or digits mkstemp puts there.
    constexpr std::string_view kMark = ".tmp-";
    if (target.empty() || name.size() != target.size() + kMark.size() + 6) return false;
    if (name.substr(0, target.size()) != target || name.substr(target.size(), kMark.size()) != kMark) return false;
    for (char c : name.substr(target.size() + kMark.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

std::string AtomicFile::write(const std::string& nativePath, std::string_view bytes) {
    return save(nativePath, bytes).why;
}

AtomicFile::Outcome AtomicFile::save(const std::string& nativePath, std::string_view bytes) {
    // Each failure keeps errno from the call that failed, for its kind.
    auto cannotOpen = [](std::string why, FileProblem problem) {
        return Outcome{Failure::CannotOpen, std::move(why), problem};
    };
    std::string target;
    if (!finalTarget(nativePath, target)) {
        const FileProblem problem = problemFromErrno(errno);
        return cannotOpen(describe("cannot follow the link", nativePath), problem);
    }
    FileProblem protectedAs = FileProblem::None;
    if (std::string why = protection(target, protectedAs); !why.empty()) return cannotOpen(why, protectedAs);

    removeStaleTemporaries(folderOf(target), nameOf(target));

    std::string tmp;
    int fd = createTemporary(target, tmp);
    if (fd < 0) {
        const FileProblem problem = problemFromErrno(errno);
        return cannotOpen(describe("cannot create a temporary file beside", target), problem);
    }

    auto fail = [&](std::string why) {
        const FileProblem problem = problemFromErrno(errno);
        ::unlink(tmp.c_str()); // while still locked, so no clean-up can mistake it
        ::close(fd);
        return Outcome{Failure::WriteFailed, std::move(why), problem};
    };

    // Keep the permissions an existing file had; a new one gets rw-r--r--.
    // The owner and group stay too: root gives them to the new file; anyone
    // else can give only their own user and one of their groups. When the
    // new file cannot have them, or other hard links share the file, the
    // bytes go into the existing file in place instead (see below).
    struct stat st {};
    const bool existing = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    bool inPlace = existing && st.st_nlink > 1;
    if (existing && ::geteuid() == 0)
        (void)::fchown(fd, st.st_uid, st.st_gid);
    else if (existing && (st.st_uid != ::geteuid() || (st.st_gid != ::getegid() && ::fchown(fd, (uid_t)-1, st.st_gid) != 0)))
        inPlace = true;
    ::fchmod(fd, existing ? (st.st_mode & 07777) : 0644);

    if (!writeAll(fd, nativePath, bytes)) return fail(describe("cannot write", tmp));
    if (::fsync(fd) != 0) return fail(describe("cannot flush", tmp));
    if (!inPlace) {
        if (::rename(tmp.c_str(), target.c_str()) != 0) return fail(describe("cannot replace", target));
        // Closed only now: until the rename the lock keeps other saves' clean-up
        // away. The bytes are on the disk since fsync, so close has nothing left
        // to report.
        ::close(fd);
        // Make the rename itself durable.
        syncFolder(folderOf(target));
        return {};
    }

    // In place: a rename would give the file a new owner or cut its links.
    // The new bytes are first a complete, verified copy on the disk under
    // "<name>.through-XXXXXX"; only then is the file itself overwritten. A
    // crash while it is overwritten leaves the copy, and the next start
    // (tidy()) finishes the write from it.
    if (!holds(fd, bytes)) {
        errno = EIO;
        return fail(describe("cannot verify", tmp));
    }
    std::string through = tmp;
    through.replace(through.size() - 6 - 5, 5, kThroughMark);
    if (::rename(tmp.c_str(), through.c_str()) != 0) return fail(describe("cannot keep", through));
    tmp = through; // fail() removes it from here on
    syncFolder(folderOf(target));
    if (!writeInPlace(target, bytes, nativePath)) {
        // The file may be part new now; the copy stays for the next start
        // to finish the write, unless a later save succeeds first.
        Outcome failed{Failure::WriteFailed, describe("cannot write", target), problemFromErrno(errno)};
        ::close(fd);
        return failed;
    }
    ::unlink(through.c_str());
    ::close(fd);
    syncFolder(folderOf(target));
    return {};
}

} // namespace cxb
