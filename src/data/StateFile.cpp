#include "data/StateFile.h"

#include <algorithm>
#include <cstring>

#include "data/AtomicFile.h"
#include "data/FileBytes.h"

namespace cxb {

std::unique_ptr<Sfile> StateFile::newRecord() {
    auto state = std::make_unique<Sfile>();
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

StateFile::LoadReport StateFile::loadState(Sfile& state, const std::string& nativePath) {
    LoadReport report;
    if (auto bytes = readFileBytes(nativePath)) {
        parse(*bytes, state);
        return report;
    }
    if (pathExists(nativePath)) {
        // There is something at that path that cannot be read (a folder, no
        // permission). Writing defaults over it would destroy what it holds,
        // so run on the defaults in memory and leave it alone.
        resetState(state);
        report.firstCode = kCannotWrite;
        report.detail = "cannot read " + nativePath;
        return report;
    }
    report.created = true;
    report.firstCode = kMissing;
    resetState(state);
    report.saveCode = saveState(state, nativePath, &report.detail);
    return report;
}

int StateFile::saveState(const Sfile& state, const std::string& nativePath, std::string* detail) {
    std::string why =
        AtomicFile::write(nativePath, std::string_view(reinterpret_cast<const char*>(&state), sizeof(Sfile)));
    if (detail) *detail = why;
    return why.empty() ? 0 : kCannotWrite;
}

} // namespace cxb
