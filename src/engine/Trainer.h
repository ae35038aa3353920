#pragma once
#include <string>

#include "data/StateFile.h"
#include "engine/AnswerJudge.h"
#include "engine/BankSearch.h"
#include "engine/ChosenPractice.h"
#include "engine/ErrorReview.h"
#include "engine/ExamSession.h"
#include "engine/FavouriteMarks.h"
#include "engine/FiledPractice.h"
#include "engine/HistoryBook.h"
#include "engine/JournalKeeper.h"
#include "engine/KeyRules.h"
#include "engine/LearnerMemory.h"
#include "engine/Navigator.h"
#include "engine/PaperExport.h"
#include "engine/PracticeModes.h"
#include "engine/QuestionPresenter.h"
#include "engine/ReviewWithMastery.h"
#include "engine/Session.h"
#include "engine/SkinButtons.h"
#include "engine/StarToggle.h"

namespace cxb {

// The main window's engine: owns the session and the features that work on
// it, and runs the start-up and the close. The window calls these and
// renders what comes back through its WindowPort.
class Trainer {
public:
    explicit Trainer(WindowPort& port, std::string folder = "");

    // Construction: the state file, the colours and pause, the bank.
    void construct();
    // FormCreate: skin table, list state, first-start settings, beginner list.
    void formCreate();
    // FormCloseQuery: writes the bank back; the window always closes.
    void closeQuery();

    // Loads the bank named by bankPath, first writing back the one in use.
    // On failure the window is left with an empty bank.
    bool reloadBank();
    // The same after a settings OK, but only when bankPath names another
    // file than the bank in use (or none is loaded): an OK that keeps the
    // bank writes nothing and keeps its buffer.
    bool switchBank();
    // Writes the state file; shows the message when that fails.
    bool saveState();
    // img2 and lbltikuzhuozhe from the loaded bank's header.
    void showBankInfo();
    std::string bankLink() const;
    std::string bankTag() const { return ExamSession::bankTag(*s.state); }

    Session s;
    QuestionPresenter view;
    PracticeModes modes;
    ChosenPractice chosen; // the lists of chosen questions: chapters, random, favourites, 智能复习
    AnswerJudge judge;
    Navigator nav;
    KeyRules keys;
    ExamSession exam;
    SkinButtons skinButtons;
    ErrorReview review;
    BankSearch search;
    HistoryBook history;
    PaperExport paper;

    void tmrjiangeTimer();

    // The answer journal; opened by construct() in the program's folder.
    JournalKeeper journal;
    // The stars of the loaded bank (我的收藏), kept in the journal; opened
    // with each bank, closed when none is loaded.
    FavouriteMarks stars;
    StarToggle star{s, stars};
    // 章节练习 / 专项练习, 随机练习 and 我的收藏.
    FiledPractice filed{s, chosen, stars};
    // 曾经全部错题 with mastery.
    ReviewWithMastery mastery{s, modes, [this] { return journal.bankAnswers(); }};
    // 智能复习 and the chance to pass, from the journal's answers.
    LearnerMemory memory;
    // The answers the last bank opening took back from the journal.
    int recoveredAnswers() const { return recovered_; }

private:
    bool openBank();
    void openJournal();
    int recovered_ = 0;
    // A state file that could not be read was moved aside (or left alone):
    // the run starts from the starter state, and the learner is told.
    void startFromStarterState(const StateFile::LoadReport& report);
    // Writes the bank back; tells the learner when that fails.
    void storeBank();
};

} // namespace cxb
