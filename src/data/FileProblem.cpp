#include "data/FileProblem.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "data/Bank.h"
#include "data/BankFile.h"

namespace cxb {

FileProblem problemFromErrno(int error) {
    switch (error) {
    case 0: return FileProblem::None;
    case ENOENT:
    case ENOTDIR: return FileProblem::NotFound;
    case EACCES:
    case EPERM:
    case EROFS: return FileProblem::NoPermission;
    case EISDIR: return FileProblem::IsFolder;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileProblem::DiskFull;
    default: return FileProblem::Other;
    }
}

FileProblem bankReadProblem(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) return problemFromErrno(errno);
    if (S_ISDIR(st.st_mode)) return FileProblem::IsFolder;
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return ::access(nativePath.c_str(), R_OK) != 0 ? problemFromErrno(errno) : FileProblem::Other;
    const auto size = static_cast<std::size_t>(st.st_size);
    std::string head(sizeof(BankHeader), '\0');
    if (size >= sizeof(BankHeader) && !in.read(head.data(), sizeof(std::int32_t))) return FileProblem::Other;
    head.resize(std::min(size, sizeof(BankHeader)));
    return bankBytesProblem(head, size);
}

FileProblem bankBytesProblem(std::string_view start, std::size_t size) {
    if (size < sizeof(BankHeader) || start.size() < sizeof(std::int32_t)) return FileProblem::NotABank;
    std::int32_t count = 0;
    std::memcpy(&count, start.data(), sizeof count);
    if (count < 0 || count > Bank::kMaxQuestions) return FileProblem::CountOutOfRange;
    if (size < BankFile::fileSize(count)) return FileProblem::TooShort;
    return FileProblem::Other;
}

} // namespace cxb
