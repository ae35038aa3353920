#include "data/FolderLock.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace cxb {

std::string FolderLock::pathIn(const std::string& folder) {
    if (folder.empty()) return kFileName;
    return folder.back() == '/' ? folder + kFileName : folder + "/" + kFileName;
}

FolderLock::FolderLock(std::string folder) : path_(pathIn(folder)) {}

FolderLock::~FolderLock() { release(); }

FolderLock::State FolderLock::tryLock() {
    if (state_ == State::Held) return state_;
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) return state_ = State::Unavailable;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool busy = errno == EWOULDBLOCK || errno == EINTR;
            ::close(fd);
            return state_ = busy ? State::Busy : State::Unavailable;
        }
        // The holder before us may have removed the file between our open
        // and our lock: then the lock is on a name nobody sees; try again.
        struct stat opened {}, named {};
        if (::fstat(fd, &opened) == 0 && ::lstat(path_.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino) {
            char host[256] = {};
            ::gethostname(host, sizeof host - 1);
            const std::string who = std::to_string(::getpid()) + "\nchixuebao\n" + host + "\n";
            if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, who.data(), who.size(), 0);
            fd_ = fd;
            return state_ = State::Held;
        }
        ::close(fd);
    }
    return state_ = State::Busy;
}

FolderLock::State FolderLock::lock(int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (tryLock() == State::Busy && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return state_;
}

void FolderLock::release() {
    if (fd_ >= 0) {
        // Removed while still held, so no one locks a file about to vanish
        // without seeing that it did (tryLock checks).
        ::unlink(path_.c_str());
        ::close(fd_);
        fd_ = -1;
    }
    state_ = State::Free;
}

} // namespace cxb
