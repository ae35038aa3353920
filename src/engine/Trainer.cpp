#include "engine/Trainer.h"

#include <cstdio>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/FileMessage.h"
#include "engine/StarterState.h"
#include "engine/Texts.h"

namespace cxb {

Trainer::Trainer(WindowPort& port, std::string folder)
    : s(port), view(s), modes(s, view), chosen(s, modes), judge(s, view), nav(s, view, modes), keys(s, judge, nav), exam(s, view), skinButtons(s), review(s, modes, view), search(s),
      history(s, modes, view), paper(s, history), memory(s, journal, chosen) {
    s.folder = std::move(folder);
    modes.setExam(&exam);
    review.setMastery(&mastery);
    s.stars = &stars;
    view.setAnswerNote([this](std::int32_t id) { return memory.noteAfterAnswer(id); });
    exam.onResultShown = [this] { memory.showPassChance(); };
}

void Trainer::construct() {
    // What saves killed in an earlier run left behind, before anything is read.
    const std::string folder = s.folder.empty() ? std::string(".") : s.folder;
    AtomicFile::tidy(folder);
    AtomicFile::tidy(folder + "/bankdata");
    StateFile::LoadReport report = StateFile::loadState(*s.state, s.statePath());
    s.stateCreated = report.created;
    if (report.firstCode == StateFile::kMissing)
        s.fileMessage(texts::kStateMissing, s.statePath(), FileProblem::NotFound, texts::kStateMade);
    if (report.firstCode == StateFile::kCannotWrite && !report.leftAlone)
        s.fileMessage(texts::kCode2, s.statePath(), report.problem);
    if (report.saveCode != 0)
        s.fileMessage(texts::stateSaveFailed(report.saveCode), s.statePath(), report.saveProblem);
    if (!report.movedAside.empty() || report.leftAlone) startFromStarterState(report);
    if (!report.sizeCopy.empty())
        s.message(texts::stateSizeCopied(FileMessage::shownName(s.folder, s.statePath()),
                                         FileMessage::shownName(s.folder, report.sizeCopy)));
    openJournal();
    openBank();
    // What an earlier run took in but could not store goes back before
    // anything is shown.
    const int exams = journal.restoreHandIns(*s.state);
    if (exams > 0) saveState();
    if (recovered_ > 0 || exams > 0) s.message(texts::recovered(recovered_));
    showBankInfo();
    s.bankCount = s.questionCount();
}

void Trainer::openJournal() {
    std::string why;
    if (journal.open(s.nativePath(std::string(JournalKeeper::kStoredPath)), &why)) {
        s.journal = &journal;
    } else {
        // The trainer still works; its counters reach the disk at the close.
        std::fprintf(stderr, "chixuebao: no answer journal: %s\n", why.c_str());
        s.journal = nullptr;
    }
}

void Trainer::startFromStarterState(const StateFile::LoadReport& report) {
    *s.state = *StarterState::make();
    const std::string shown = FileMessage::shownName(s.folder, s.statePath());
    const char* cause = FileMessage::cause(report.problem);
    if (report.leftAlone) {
        // Nothing may be written over the file this run.
        s.stateUntouchable = true;
        s.message(texts::stateLeftAlone(shown, cause));
        return;
    }
    s.message(texts::stateKeptAside(shown, cause, FileMessage::shownName(s.folder, report.movedAside)));
    saveState();
}

bool Trainer::openBank() {
    const std::string stored(readField(s.state->bankPath));
    std::string path = s.nativePath(stored);
    auto bank = BankFile::open(path);
    if (!bank) {
        if (stored.empty())
            s.fileMessage(texts::kCode2, texts::kNoBankChosen, FileProblem::NotFound, texts::kChooseBank);
        else
            s.fileMessage(texts::kCode2, path, bankReadProblem(path));
        s.bank = std::make_unique<Bank>();
        s.bankLoaded = false;
        s.bankNativePath.clear();
        journal.bankClosed();
        stars.bankClosed();
        recovered_ = 0;
        return false;
    }
    s.bank = std::make_unique<Bank>(std::move(*bank));
    s.bankLoaded = true;
    s.bankNativePath = path;
    const std::string tag = ExamSession::storedBankTag(bankTag());
    recovered_ = journal.bankOpened(tag, path, *s.bank).answers;
    // This bank's stars replace those of the bank that was left.
    stars.bankOpened(journal.journal(), tag);
    return true;
}

bool Trainer::reloadBank() {
    if (s.bankLoaded) {
        storeBank();
    }
    bool ok = openBank();
    // A looked-up question belongs to the bank it was found in.
    history.clearLookupCache();
    // The list may still hold entries of the bank that was left; they are
    // only ids and texts, and the next list command replaces them.
    return ok;
}

bool Trainer::switchBank() {
    if (s.bankLoaded && s.nativePath(std::string(readField(s.state->bankPath))) == s.bankNativePath) return true;
    return reloadBank();
}

void Trainer::showBankInfo() {
    const BankHeader& h = s.bank->header;
    std::string picture(readField(h.bankPicture));
    s.port.setImage(Ctl::img2, picture.empty() ? std::string() : s.nativePath(picture));
    s.port.setText(Ctl::lbltikuzhuozhe, gbk::toUtf8Lossy(readField(h.bankAuthor)));
}

std::string Trainer::bankLink() const { return gbk::toUtf8Lossy(readField(s.bank->header.bankLink)); }

bool Trainer::saveState() {
    if (s.stateUntouchable) {
        s.fileMessage(texts::kCode2, s.statePath(), FileProblem::NoPermission);
        return false;
    }
    std::string detail;
    FileProblem problem = FileProblem::None;
    const int code = StateFile::saveState(*s.state, s.statePath(), &detail, &problem);
    if (code == 0) {
        if (s.journal) s.journal->stateSaved();
        return true;
    }
    s.fileMessage(texts::stateSaveFailed(code), s.statePath(), problem);
    return false;
}

void Trainer::formCreate() {
    SkinFile::load(s.skin, s.nativePath(std::string(gbk::fromUtf8Lossy(SkinFile::kFileName))));
    s.modeCode = 100;
    s.port.setVisible(Ctl::ScrollBox2, false);
    s.listCount = 0;
    s.listRight = 0;
    s.autoNextArmed = false;
    s.port.setText(Ctl::lblguanyu, texts::kVersion);
    // The picture buttons start with their normal pictures.
    skinButtons.showNormal();
    if (s.stateCreated) {
        // The settings command: the dialog, then the bank's picture and
        // maker, then the rebuild (which builds nothing before the first list).
        s.port.openSettings(true);
        showBankInfo();
        modes.Button2Click();
        saveState();
    }
    modes.chujiClick();
    s.boxEventsEnabled = true;
}

void Trainer::tmrjiangeTimer() {
    s.port.setText(Ctl::lbljiazai, "");
    s.port.stopTimer(Tmr::tmrjiange);
}

void Trainer::closeQuery() {
    if (!s.bankLoaded) return; // a bank that was never read is never written
    // 放弃 leaves the answers in the journal, for the next start.
    for (;;) {
        FileProblem problem = FileProblem::None;
        if (journal.storeBank(*s.bank, s.bankNativePath, &problem).empty()) return;
        if (!s.fileRetry(texts::kBankNotStored, s.bankNativePath, problem, texts::kRetryBank)) return;
    }
}

void Trainer::storeBank() {
    FileProblem problem = FileProblem::None;
    if (!journal.storeBank(*s.bank, s.bankNativePath, &problem).empty())
        s.fileMessage(texts::kBankNotStored, s.bankNativePath, problem);
}

} // namespace cxb
