#pragma once
#include <string>

namespace cxb {

// One trainer (or tool) at a time in a data folder: the lock file
// ".chixuebao.lock" in the folder, held with flock() for as long as this
// object holds it. The kernel lets go of the lock when its process ends,
// however it ends, so a lock file left by a killed process, or copied along
// with the folder, holds nothing. The file names the holder ("pid",
// "chixuebao", the host name, one a line) and is removed when the lock is
// given back.
class FolderLock {
public:
    static constexpr const char* kFileName = ".chixuebao.lock";
    enum class State {
        Free,        // not tried yet, or given back
        Held,        // this object holds the folder
        Busy,        // another process holds it
        Unavailable, // no lock file can be made there (read-only medium, no such folder)
    };

    explicit FolderLock(std::string folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // One attempt, at once.
    State tryLock();
    // Attempts until the lock is held, cannot be had at all, or `waitMs`
    // have passed.
    State lock(int waitMs);
    void release();

    State state() const { return state_; }
    bool isLocked() const { return state_ == State::Held; }
    const std::string& fileName() const { return path_; }

    static std::string pathIn(const std::string& folder);

private:
    std::string path_;
    int fd_ = -1;
    State state_ = State::Free;
};

} // namespace cxb
