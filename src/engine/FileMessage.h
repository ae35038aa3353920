#pragma once
#include <string>

#include "data/FileProblem.h"

namespace cxb {

// The message for a file that could not be read or written: the first line
// as the trainer has always shown it, then the file (as the learner finds it
// in the program's folder) with the cause in plain words, what to do, and
// where to read more.
class FileMessage {
public:
    static std::string compose(const std::string& firstLine, const std::string& shownName, FileProblem problem,
                               const char* advice = nullptr);
    // The cause, e.g. "找不到这个文件".
    static const char* cause(FileProblem problem);
    // What the learner can do about it.
    static const char* advice(FileProblem problem);
    // The same for a page or PDF the learner exports or saves, which is
    // neither a bank nor a record of practice.
    static const char* exportAdvice(FileProblem problem);
    // `nativePath` relative to the program's folder when it lies inside it.
    static std::string shownName(const std::string& programFolder, const std::string& nativePath);
};

} // namespace cxb
