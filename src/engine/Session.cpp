#include "engine/Session.h"

#include "engine/FileMessage.h"

#include "data/StateFile.h"
#include "data/FixedField.h"
#include "data/StoredPath.h"
#include "engine/Texts.h"

namespace cxb {

Session::Session(WindowPort& window)
    : port(window), state(StateFile::newRecord()), bank(std::make_unique<Bank>()), list(kListSize) {}

std::string Session::nativePath(const std::string& storedGbk) const { return inProgramFolder(folder, storedGbk); }

void Session::fileMessage(const std::string& firstLine, const std::string& path, FileProblem problem,
                          const char* advice) {
    message(FileMessage::compose(firstLine, FileMessage::shownName(folder, path), problem, advice));
}

bool Session::fileRetry(const std::string& firstLine, const std::string& path, FileProblem problem,
                        const char* afterAdvice) {
    const std::string advice = std::string(FileMessage::advice(problem)) + "\n" + afterAdvice;
    return port.retry(FileMessage::compose(firstLine, FileMessage::shownName(folder, path), problem, advice.c_str()));
}

std::string Session::statePath() const { return nativePath(std::string(StateFile::kStoredPath)); }

ListEntry* Session::shown() {
    if (listCount <= 0 || current < 1 || current > listCount) return nullptr;
    return &entry(current);
}

std::string Session::caption(const char* title) const { return std::string(title) + texts::kVersion; }

void Session::hidePanels() {
    for (Ctl panel : {Ctl::souPNL, Ctl::Panel2, Ctl::pnl1, Ctl::pnl2, Ctl::pnlIE}) port.setVisible(panel, false);
}

} // namespace cxb

namespace cxb {

void Session::applyModeBackground(int mode) {
    if (!backgroundsTried) {
        backgroundsTried = true;
        const char* names[] = {state->skinSunXu, state->skinChuji, state->skinNanti, state->skinKaoshi};
        // The skin file names the pictures that ship with the program; they
        // serve until the learner names others in the skin dialog.
        const char* fallback[] = {"bg_sunxu", "bg_chuji", "bg_nanti", "bg_kaoshi"};
        for (int i = 0; i < 4; ++i) {
            std::string name(readField(names[i], 100));
            if (name.empty()) {
                name = lookupSkin(skin, fallback[i]);
                if (name == SkinFile::kAbsent) continue;
            }
            if (!port.loadBackground(i + 1, nativePath(name))) {
                message(texts::withSupport(texts::kSkinError));
                break;
            }
        }
    }
    port.showBackground(mode);
}

} // namespace cxb
