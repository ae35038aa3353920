#pragma once
// Ways to make a save fail, shared by every test of a file the program
// writes (state file, bank, exported pages): a disk that fills up at a
// chosen offset, a small real file system, and the checks every failed save
// must pass.
#include <cstddef>
#include <functional>

#include "data/FileProblem.h"
#include <memory>
#include <string>
#include <vector>

namespace cxb::test {

// The whole content of a file ("" when it cannot be read).
std::string readFile(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> folderEntries(const std::string& dir);
// The temporary files a save of `dir`/`target` has left there.
std::vector<std::string> temporariesOf(const std::string& dir, const std::string& target);

// While it lives, no file of this process can grow past `bytes`
// (RLIMIT_FSIZE): the write that crosses the limit is cut short and the next
// one fails with EFBIG, as on a disk that fills up at exactly that offset.
// Works without root. SIGXFSZ is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long oldSoft_;
    void (*oldHandler_)(int);
};

// A real small file system: a tmpfs of `bytes` mounted on `mountPoint`
// (created if missing) and unmounted at the end. Mounting needs root with
// CAP_SYS_ADMIN; when it is refused, mounted() is false and the test should
// skip.
class SmallDisk {
public:
    SmallDisk(const std::string& mountPoint, std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    std::size_t blockSize() const;
    std::size_t freeBytes() const;
    // Writes a filler file so that exactly `bytes` stay free (rounded down
    // to whole blocks); returns the free bytes then.
    std::size_t leaveFree(std::size_t bytes);
    void dropFiller();

private:
    std::string mountPoint_;
    std::string why_;
    bool mounted_ = false;
};

// One way to break the saves of a file: arm() takes the native path of the
// target and returns a guard that undoes the fault when dropped. Faults in
// this list leave the old file where it is, so a failed save must keep it
// byte for byte.
struct SaveFault {
    std::string name;
    std::function<std::shared_ptr<void>(const std::string& target)> arm;
    // The code a state-file save reports under this fault: 2 when the file
    // cannot be opened for the save, 3 when writing fails after that.
    int stateCode = 3;
    // What the learner is told is wrong.
    FileProblem problem = FileProblem::DiskFull;
};

// Disk-full faults for a file of `imageSize` bytes: through the AtomicFile
// write hook at the first and the last chunk, and through a file-size limit
// at 0 bytes, 1 byte, half the file and its last byte; a write-protected
// target (mode 0444); and a read-only folder when not running as root (root
// writes there anyway).
std::vector<SaveFault> saveFaults(std::size_t imageSize);

// Checks a save under every fault: `save` writes `fresh` to `target`, which
// holds `old`, and returns true on success. Under each fault the save must
// report failure, `target` must still hold `old` and no temporary file may
// be left; with the fault gone the same save must succeed and leave `fresh`.
// `old` is written back before each case.
void expectSavesFailCleanly(const std::string& target, const std::string& old, const std::string& fresh,
                            const std::function<bool()>& save);

} // namespace cxb::test
