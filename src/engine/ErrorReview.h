#pragma once
#include "engine/Session.h"

namespace cxb {

class PracticeModes;
class QuestionPresenter;
class ReviewWithMastery;

// The wrong-question review (pnl1): the questions answered wrong in this
// list or ever, practice of that set, and the analysis of a row.
class ErrorReview {
public:
    ErrorReview(Session& s, PracticeModes& modes, QuestionPresenter& view);
    // 曾经全部错题 with mastery, when the learner has set one.
    void setMastery(ReviewWithMastery* mastery) { mastery_ = mastery; }

    void btnErrorLianXClick();
    void btnGCerrorClick(); // "刚才的错题"
    void btnQuanBuClick();  // "曾经全部错题"
    void btn4Click();       // "练习"
    void Button3Click();    // "本题分析"
    void lv1SelectItem(int row);

    // The analysis dialog's content for a question of the bank.
    AnalysisView analysisOf(int id, std::vector<std::string>* messages) const;
    static QuestionRow rowOf(const QuestionRecord& r);

private:
    Session& s_;
    PracticeModes& modes_;
    QuestionPresenter& view_;
    ReviewWithMastery* mastery_ = nullptr;
};

} // namespace cxb
