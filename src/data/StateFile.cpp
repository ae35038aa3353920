#include "data/StateFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/AtomicFile.h"
#include "data/BackupFiles.h"
#include "data/FileBytes.h"

namespace cxb {

std::unique_ptr<Sfile> StateFile::newRecord() {
    auto state = std::make_unique_for_overwrite<Sfile>();
    std::memset(state.get(), 0, sizeof(Sfile));
    state->bankChoice = 1;
    return state;
}

void StateFile::parse(std::string_view bytes, Sfile& state) {
    if (bytes.empty()) return; // an empty view may carry no pointer at all
    std::memcpy(&state, bytes.data(), std::min(bytes.size(), sizeof(Sfile)));
}

void StateFile::resetState(Sfile& s) {
    s.bankChoice = 1;
    s.textColor = 0;
    s.backColor = 136255;
    s.beginnerCount = 10;
    s.hardCount = 10;
    s.hardSensitivity = 2;
    s.historyCount = 0;
    s.keyPrevious = 105; // keypad 9
    s.keyNext = 102;     // keypad 6
    s.keyAnswerA = 97;   // keypad 1
    s.keyAnswerB = 98;
    s.keyAnswerC = 99;
    s.keyAnswerD = 100;
    s.pauseMs = 1000;
    s.examSeconds = 2700;
}

namespace {
StateFile::ReadHook& readHook() {
    static StateFile::ReadHook h;
    return h;
}

// Reads the file straight into the record, as parse() would take its bytes:
// the first sizeof(Sfile) bytes over the record, a shorter file leaving the
// rest as it was. The record is 2.4 MB; going through a buffer costs as much
// again as the read itself. False if it is not a regular file or a read
// fails; a read that fails half-way leaves the record zeroed, not mixed.
bool readInto(const std::string& nativePath, Sfile& state, std::size_t& fileSize) {
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fileSize = static_cast<std::size_t>(st.st_size);
    auto* out = reinterpret_cast<char*>(&state);
    std::size_t got = 0;
    while (got < sizeof(Sfile)) {
        // At most 1 MB a read, so that a read may fail half-way in a test too.
        const std::size_t want = std::min<std::size_t>(sizeof(Sfile) - got, 1u << 20);
        ssize_t n = -1;
        if (readHook() && !readHook()(got))
            errno = EIO;
        else
            n = ::read(fd, out + got, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            if (got > 0) std::memset(out, 0, sizeof(Sfile));
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return true;
}
} // namespace

namespace {

// Why a state file that is there could not be read.
FileProblem readProblem(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) return problemFromErrno(errno);
    if (S_ISDIR(st.st_mode)) return FileProblem::IsFolder;
    return ::access(nativePath.c_str(), R_OK) != 0 ? problemFromErrno(errno) : FileProblem::Other;
}

} // namespace

void StateFile::setReadHook(ReadHook hook) { readHook() = std::move(hook); }

StateFile::LoadReport StateFile::loadState(Sfile& state, const std::string& nativePath) {
    LoadReport report;
    std::size_t size = 0;
    if (readInto(nativePath, state, size)) {
        // Bytes beyond the record, or a record cut short, would be gone with
        // the first save: a copy keeps them.
        if (size != sizeof(Sfile) && size != 0) {
            if (auto bytes = readFileBytes(nativePath))
                (void)BackupFiles::keep(nativePath, BackupFiles::kBankMark, *bytes, report.sizeCopy);
        }
        return report;
    }
    // A link that points nowhere is a missing file: it is made through the link.
    struct stat linked {};
    const bool dangling = ::lstat(nativePath.c_str(), &linked) == 0 && S_ISLNK(linked.st_mode) &&
                          ::stat(nativePath.c_str(), &linked) != 0 && errno == ENOENT;
    if (pathExists(nativePath) && !dangling) {
        // There is something at that path that cannot be read. Writing
        // defaults over it would destroy what it holds: a file is moved
        // aside, a folder (or a file that cannot be moved) left alone, and
        // the program runs on the defaults.
        resetState(state);
        report.firstCode = kCannotWrite;
        report.detail = "cannot read " + nativePath;
        report.problem = readProblem(nativePath);
        struct stat st {};
        if (::lstat(nativePath.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return report;
        if (BackupFiles::moveAside(nativePath, BackupFiles::kUnreadableMark, report.movedAside).empty()) {
            report.firstCode = 0;
        } else {
            report.leftAlone = true;
        }
        return report;
    }
    report.created = true;
    report.firstCode = kMissing;
    resetState(state);
    report.problem = FileProblem::NotFound;
    report.saveCode = saveState(state, nativePath, &report.detail, &report.saveProblem);
    return report;
}

int StateFile::saveState(const Sfile& state, const std::string& nativePath, std::string* detail,
                         FileProblem* problem) {
    AtomicFile::Outcome saved =
        AtomicFile::save(nativePath, std::string_view(reinterpret_cast<const char*>(&state), sizeof(Sfile)));
    if (detail) *detail = saved.why;
    if (problem) *problem = saved.problem;
    switch (saved.failure) {
    case AtomicFile::Failure::None: return 0;
    case AtomicFile::Failure::CannotOpen: return kCannotWrite;
    case AtomicFile::Failure::WriteFailed: return kSaveFailed;
    }
    return kSaveFailed;
}

} // namespace cxb
