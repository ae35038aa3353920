#pragma once
#include <memory>
#include <string>
#include <vector>

#include "data/Bank.h"
#include "data/Sfile.h"
#include "data/SkinFile.h"
#include "engine/ExamDraw.h"
#include "engine/ListEntry.h"
#include "data/FileProblem.h"
#include "engine/PickerCanvas.h"
#include "engine/WindowPort.h"

namespace cxb {

// Everything the main window owns for the whole run: the state record, the
// bank buffer, the skin table and the current question list with its state.
// The feature classes work on one shared Session.
struct Session {
    static constexpr int kListSize = 2000; // entries 1..1999; 0 is never used

    explicit Session(WindowPort& window);

    WindowPort& port;
    std::string folder; // the program's folder ("" = working directory)

    std::unique_ptr<Sfile> state;
    bool stateCreated = false; // the state file was made during this start
    bool stateUntouchable = false; // an unreadable state file that no save may replace
    std::unique_ptr<Bank> bank;
    bool bankLoaded = false;    // the bank buffer holds a bank that was read
    std::string bankNativePath; // where the loaded bank is written back
    Strfile skin;

    // The current question list (STR_TK) and its state.
    std::vector<ListEntry> list;
    int current = 0;
    int listCount = 0;
    int bankCount = 0;
    int displayMode = 2; // 2 practice, 1 exam
    int modeCode = 100;  // 0 sequential, 1 beginner, 2 hard, 3 exam, 4 review, 5 bank browser
    bool autoNextArmed = false;
    bool boxEventsEnabled = false;
    int listAnswered = 0;
    int listRight = 0;
    int hoverCell = 0;
    bool checkBox1 = true; // "是否显示答案"
    bool checkBox2 = true; // "自动进入下一题"
    int multiBoxes = 0;    // ticked multiple-choice boxes, A = 2 … H = 256
    bool hoverArmed = true; // the picture buttons' shared hover flag
    bool soundOn = true;    // "使用声音特效"

    // Review and search.
    int errorKind = 0;         // 1 ever wrong, 2 wrong in this list
    int reviewSelected = 0;    // row last selected in the review list, from the first row
    int searchSelected = -1;   // selected row of the bank list
    std::vector<QuestionRow> reviewRows, searchRows;
    std::string searchText;    // edtchazhao, UTF-8

    PickerCanvas picker;
    ExamDraw examDraw;
    long long examStart = 0;

    // Paths of the program's files, native form.
    std::string nativePath(const std::string& storedGbk) const;
    std::string statePath() const;

    // Entry i of the list, i within 1..listCount.
    ListEntry& entry(int i) { return list[static_cast<std::size_t>(i)]; }
    // The entry on show, or nullptr when the list is empty.
    ListEntry* shown();
    // The bank's question count, always 0..1999.
    int questionCount() const { return bank ? bank->questionCount() : 0; }
    QuestionRecord& record(int i) { return bank->records[static_cast<std::size_t>(i)]; }

    std::string caption(const char* title) const;
    void hidePanels();
    // Shows the background of mode 1..4; the four bitmaps are loaded at
    // the first call of the run.
    void applyModeBackground(int mode);
    bool backgroundsTried = false;
    void message(const std::string& text) { port.message(text); }
    // A file message: the first line, then the file, the cause and what to do.
    void fileMessage(const std::string& firstLine, const std::string& nativePath, FileProblem problem,
                     const char* advice = nullptr);
    // The same with 重试 and 放弃 under it; true when the learner retries.
    bool fileRetry(const std::string& firstLine, const std::string& nativePath, FileProblem problem,
                   const char* afterAdvice);
    // The answer journal, when one is open.
    class JournalPort* journal = nullptr;
    // The stars of the loaded bank's questions (我的收藏), when the trainer keeps them.
    const class FavouriteMarks* stars = nullptr;
};

} // namespace cxb
