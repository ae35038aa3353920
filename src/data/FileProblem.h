#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace cxb {

// Why a file could not be read or written, as far as the learner can act on it.
enum class FileProblem {
    None,
    NotFound,        // no such file (or no such folder on its way)
    NoPermission,    // the running user may not read or write it
    WriteProtected,  // marked read-only: the program leaves it as it is
    IsFolder,        // a folder stands where the file should be
    NotABank,        // shorter than a bank's header: no bank at all
    CountOutOfRange, // its question count is below 0 or above 1,999
    TooShort,        // shorter than its question count needs
    DiskFull,        // writing stopped half-way for want of room
    Other,
};

// The problem an errno value stands for.
FileProblem problemFromErrno(int error);

// What is wrong with reading `nativePath` as a bank, after a read failed.
FileProblem bankReadProblem(const std::string& nativePath);
// The same for a bank file of `size` bytes that begins with `start`.
FileProblem bankBytesProblem(std::string_view start, std::size_t size);

} // namespace cxb
