#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Session.h"

namespace cxb {

class PracticeModes;
class QuestionPresenter;

// A question found by its id: what a recorded paper needs to show it again.
struct STRUCT_TK {
    std::string text;        // UTF-8
    std::int32_t answer = 0; // answer code
    std::string picture;     // stored form (GBK, backslashes), as in a list entry
    std::int32_t type = 0;
};

// One row of the history list.
struct HistoryRow {
    std::string number;  // the slot, 1-based
    std::string takenAt; // UTF-8
    std::string score;
    std::string bankTag;  // UTF-8, as stored
    std::string bankName; // the "类型" column: what a learner calls the bank
};

// The recorded exams: the list, reopening a paper with its answers,
// sitting it again, deleting it, and the question lookup by id that the
// paper export uses as well.
class HistoryBook {
public:
    static constexpr const char* kNoneChosen = "请先选择，历史记录！";
    static constexpr const char* kOtherBank = "题库类型不正确，请选择正确题库";

    HistoryBook(Session& s, PracticeModes& modes, QuestionPresenter& view);

    // The question with this id in the loaded bank. An id the bank lacks
    // gives an empty question (empty texts, answer and type 0).
    STRUCT_TK lookupQuestion(std::int32_t id);
    // Forgets the last lookup; called whenever another bank is loaded.
    void clearLookupCache();

    // The list is being filled: nothing is chosen; returns its rows.
    std::vector<HistoryRow> fillHistoryList();
    // One row per recorded exam, oldest first.
    std::vector<HistoryRow> rows() const;
    // A row became the chosen one; `number` is its "ID" column.
    void lv1Change(int number) { selectedEntry = number; }

    // The actions. Each returns true when it went through: the view and
    // the retake then close the dialog, the export may run, and a deletion
    // wants the rows filled again.
    bool btn3Click(); // "查看考试卷"
    bool btn1Click(); // "再次考试本卷"
    bool btn4Click(); // "导出、打印": the checks only
    bool btn2Click(); // "删除本卷"

    // Entries 1..itemCount of the list from a recorded paper, each built
    // as a list builder builds it; the given answers are kept or dropped.
    void fillFromEntry(const HistoryEntry& e, bool withAnswers);

    int selectedEntry = 0; // 0 = none chosen

private:
    bool chosen();
    bool checkPaper();
    bool saveState();

    Session& s_;
    PracticeModes& modes_;
    QuestionPresenter& view_;
    std::int32_t cachedId_ = -1;
    STRUCT_TK cached_;
};

} // namespace cxb
