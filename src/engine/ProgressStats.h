#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Only plain values here: the chart views draw them without linking the engine.
namespace cxb {

class Bank;
struct Sfile;

// One recorded paper of the loaded bank, as the score trend draws it.
struct PaperPoint {
    int entry = 0;            // history slot, 1-based
    int order = 0;            // 1 = the oldest paper of this bank
    std::string takenAt;      // UTF-8
    int score = 0;            // questions right, 0..itemCount
    int itemCount = 0;        // questions on the paper, at least 1
    double percent = 0;       // score as a percentage of itemCount
    bool passed = false;      // percent reached the pass line
    double recentAverage = 0; // mean percent of this paper and up to four before it
    std::string tip;          // hover text: date, score and size
    double passChance = -1;   // the chance to pass at its hand-in, percent; -1 unknown
};

// The papers of the loaded bank, oldest first, and what they say.
struct ScoreTrend {
    std::vector<PaperPoint> papers;
    double lastAverage = 0;  // mean percent of the newest papers (up to five)
    int averageCount = 0;    // how many papers that mean is over
    int recentCount = 0;     // papers among the newest ten
    int recentPassed = 0;    // of those, the ones that reached the pass line
    std::string readiness;   // "最近 10 次中有 7 次达到 90 分，…", or the empty-state text
    std::string averageText; // "最近 5 次平均 87.4 分", empty without papers
    bool empty() const { return papers.empty(); }
};

// The state of a group of questions in the bank buffer.
struct ProgressGroup {
    std::string name;            // "全部", "判断题", "单选题", "多选题"
    int questions = 0;
    int neverAnswered = 0;
    int neverWrong = 0;          // answered, never wrong
    int everWrong = 0;
    std::int64_t rightAnswers = 0;
    std::int64_t answers = 0;    // right and wrong answers together
    double accuracy = 0;         // percent of answers that were right; 0 without answers
    std::string accuracyText;    // "85.3%（1234/1446）", or "还没有作答"
    std::string accuracyShort;   // "85.3%", or "—" without answers
};

// 智能复习's view of the bank: what falls due and the chance to pass now.
// Empty texts are not shown.
struct ReviewOutlook {
    std::string due;    // today: "今天到期 12 题，还可做新题 20 道"
    std::string week;   // the next seven days
    std::string pass;   // "现在考试，通过的可能约 73 %"
    std::string reason; // why that chance is low, when it is
};

// The whole bank and each question type.
struct BankProgress {
    ProgressGroup total;
    std::vector<ProgressGroup> byType; // true/false, single choice, multiple choice
    ReviewOutlook outlook;
};

// The figures of the progress views: the score trend of the recorded papers
// and the state of the bank's questions. Computed on demand from the state
// record and the bank buffer as they are in memory.
class ProgressStats {
public:
    static constexpr int kPassPercent = 90;
    static constexpr int kAverageOver = 5;
    static constexpr int kReadinessOver = 10;
    static constexpr const char* kNoPapers =
        "还没有本题库的考试记录。\n做一次“模拟考试”并交卷，这里就会画出你的成绩走势。";

    // The papers recorded for the loaded bank: those whose bank tag is the
    // one a paper drawn now would get. Papers of no question are left out.
    static ScoreTrend scoreTrend(const Sfile& state);
    // Questions 1..questionCount of the bank buffer.
    static BankProgress bankProgress(const Bank& bank);

    // The readiness line for `passed` of the newest `count` papers.
    static std::string readinessText(int count, int passed);
    // A percentage with at most one decimal: "92", "87.4".
    static std::string number(double percent);
};

} // namespace cxb
