#include "data/StateFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/AtomicFile.h"
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
// Reads the file straight into the record, as parse() would take its bytes:
// the first sizeof(Sfile) bytes over the record, a shorter file leaving the
// rest as it was. The record is 2.4 MB; going through a buffer costs as much
// again as the read itself. False if it is not a regular file or a read
// fails; a read that fails half-way leaves the record zeroed, not mixed.
bool readInto(const std::string& nativePath, Sfile& state) {
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    auto* out = reinterpret_cast<char*>(&state);
    std::size_t got = 0;
    while (got < sizeof(Sfile)) {
        const ssize_t n = ::read(fd, out + got, sizeof(Sfile) - got);
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

StateFile::LoadReport StateFile::loadState(Sfile& state, const std::string& nativePath) {
    LoadReport report;
    if (readInto(nativePath, state)) return report;
    if (pathExists(nativePath)) {
        // There is something at that path that cannot be read (a folder, no
        // permission). Writing defaults over it would destroy what it holds,
        // so run on the defaults in memory and leave it alone.
        resetState(state);
        report.firstCode = kCannotWrite;
        report.detail = "cannot read " + nativePath;
        report.problem = readProblem(nativePath);
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
