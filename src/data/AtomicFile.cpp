#include "data/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string describe(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

} // namespace

void AtomicFile::setWriteHook(WriteHook h) { hook() = std::move(h); }

std::string AtomicFile::write(const std::string& nativePath, std::string_view bytes) {
    std::string tmp = nativePath + ".tmp-XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) return describe("cannot create a temporary file beside", nativePath);

    auto fail = [&](std::string why) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return why;
    };

    // Keep the permissions an existing file had; a new one gets rw-r--r--.
    struct stat st {};
    mode_t mode = (::stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);

    std::size_t done = 0;
    while (done < bytes.size()) {
        if (hook() && !hook()(nativePath, done)) {
            errno = ENOSPC;
            return fail(describe("cannot write", tmp));
        }
        std::size_t chunk = bytes.size() - done;
        if (chunk > (1u << 20)) chunk = 1u << 20;
        ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(describe("cannot write", tmp));
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(describe("cannot flush", tmp));
    if (::close(fd) != 0) {
        ::unlink(tmp.c_str());
        return describe("cannot close", tmp);
    }
    if (::rename(tmp.c_str(), nativePath.c_str()) != 0) {
        std::string why = describe("cannot replace", nativePath);
        ::unlink(tmp.c_str());
        return why;
    }
    // Make the rename itself durable.
    int dir = ::open(folderOf(nativePath).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace cxb
