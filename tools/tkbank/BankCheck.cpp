#include "BankCheck.h"

#include <cstring>
#include <unordered_map>

#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/StoredPath.h"

namespace cxb {
namespace {

bool answerFits(std::int32_t type, std::int32_t answer) {
    switch (type) {
    case kSingleChoice: return answer >= 1 && answer <= 4;
    case kTrueFalse: return answer == kAnswerTrue || answer == kAnswerFalse;
    case kMultipleChoice: return answer > 0 && (answer & ~0x1FE) == 0;
    default: return false;
    }
}

template <std::size_t N>
bool terminated(const char (&field)[N]) { return std::memchr(field, 0, N) != nullptr; }

} // namespace

std::vector<std::string> checkBank(const Bank& bank, const PictureLookup& pictures) {
    std::vector<std::string> findings;
    const bool lookUp = !pictures.programFolder.empty();
    const BankHeader& h = bank.header;
    if (!terminated(h.bankAuthor)) findings.push_back("header: bankAuthor has no terminator");
    if (!terminated(h.bankLink)) findings.push_back("header: bankLink has no terminator");
    if (!terminated(h.bankPicture)) findings.push_back("header: bankPicture has no terminator");
    if (lookUp && !readField(h.bankPicture).empty()) {
        std::string path = inProgramFolder(pictures.programFolder, readField(h.bankPicture));
        if (!fileExists(path)) findings.push_back("header: bankPicture " + path + " is missing");
    }

    std::unordered_map<std::int32_t, int> seen;
    for (int i = 1; i <= bank.questionCount(); ++i) {
        const QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
        std::string q = "question " + std::to_string(r.id) + " (record " + std::to_string(i) + "): ";
        if (auto [it, fresh] = seen.emplace(r.id, i); !fresh)
            findings.push_back(q + "id already used by record " + std::to_string(it->second));
        if (r.type < 1 || r.type > 3)
            findings.push_back(q + "type " + std::to_string(r.type) + " is not 1, 2 or 3");
        else if (!answerFits(r.type, r.answer))
            findings.push_back(q + "answer code " + std::to_string(r.answer) + " does not fit its type");
        if (!terminated(r.text)) findings.push_back(q + "text has no terminator");
        if (!terminated(r.picture)) findings.push_back(q + "picture name has no terminator");
        if (!terminated(r.explanation)) findings.push_back(q + "explanation has no terminator");
        if (readField(r.text).empty()) findings.push_back(q + "text is empty");
        if (r.rightCount < 0 || r.wrongCount < 0 || r.answerCount < 0)
            findings.push_back(q + "a counter is negative");
        if (lookUp) {
            PictureRef pic = resolvePicture(readField(r.picture), pictures.extraBank);
            if (!pic.empty()) {
                std::string path = inProgramFolder(pictures.programFolder, pic.storedPath);
                if (!fileExists(path)) findings.push_back(q + "picture " + path + " is missing");
            }
        }
    }
    return findings;
}

} // namespace cxb
