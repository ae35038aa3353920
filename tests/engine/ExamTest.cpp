// The mock exam: countdown, hand-in, score bands and the history entry.
#include <cstring>

#include "ExamFixture.h"
#include "data/AtomicFile.h"

using namespace cxb;
using namespace cxb::test;

namespace {

class Exam : public ExamRig {};

std::string with(std::string text, int score) {
    std::string n = std::to_string(score);
    for (std::size_t at = text.find("{N}"); at != std::string::npos; at = text.find("{N}"))
        text.replace(at, 3, n);
    return text;
}

// The result texts as the learner reads them; CR LF between the lines.
const char* const kBelow30 =
    "你的分数是:{N}；\r\n刚开始，谁都是这个分数，别灰心;\r\n使用《驰学宝》你会考到一百分的";
const char* const kBelow50 =
    "你的分数是:{N}；\r\n刚开始，谁都是这个分数，别灰心;\r\n多努力些，使用《驰学宝》你会考到一百分的";
const char* const kBelow60 = "你的分数是:{N}；\r\n有一点不及格，没关系，使用《驰学宝》你会考到一百分的";
const char* const kBelow80 =
    "你的分数是：{N}\r\n不及格，别以为大于60分你就及格了。\r\n"
    "使用《驰学宝》的咱应该考更高分滴！稍微一努力咱就能考到90分以上了！\r\n建议你到“错误集练习”玩玩！";
const char* const kBelow90 =
    "你的分数是：{N}\r\n不及格，别以为大于60分你就及格了。\r\n使用《驰学宝》的咱应该考100分滴！\r\n"
    "建议你到“错误集练习”玩玩！";
const char* const kBelow95 = "恭喜你！\r\n你的分数是:{N}\r\n但是还不够好，\r\n我当年轻松就能拿到满分的！";
const char* const kAlmost = "恭喜你！\r\n你的分数是:{N}\r\n可以去考试了！\r\n但我还是希望你再练练!";
const char* const kFull = "呀！\r\n你的分数是:100分！\r\n可惜啊！在我这考试不算事。";

} // namespace

TEST_F(Exam, CountdownTextsFromTheClock) {
    start(bankOf(30), [](Sfile& s) { s.examSeconds = 100; });
    now = 5000;
    t().modes.KaoShiClick();
    EXPECT_EQ(win.timers[Tmr::tmruptime], 1000);
    EXPECT_TRUE(win.isVisible(Ctl::lbl1));
    struct Case {
        int elapsed;
        const char* text;
    } cases[] = {
        {39, "据考试结束还有：1分钟1秒，时间充足"},
        {40, "据考试结束还有：60秒，加油"},
        {99, "据考试结束还有：1秒，加油"},
        {100, "你看看！时间都变成负数了！0秒"},
        {105, "你看看！时间都变成负数了！-5秒"},
        {0, "据考试结束还有：1分钟40秒，时间充足"},
    };
    for (const Case& c : cases) {
        now = 5000 + c.elapsed;
        t().exam.tmruptimeTimer();
        EXPECT_EQ(win.text[Ctl::lbl1], c.text) << "after " << c.elapsed << " s";
    }
    // The clock keeps running past the limit: nothing is handed in.
    EXPECT_TRUE(win.running(Tmr::tmruptime));
    EXPECT_EQ(st().historyCount, 0);
}

TEST_F(Exam, CountdownOfTheDefaultTime) {
    start(bankOf(30));
    t().modes.KaoShiClick();
    now += 1;
    t().exam.tmruptimeTimer();
    EXPECT_EQ(win.text[Ctl::lbl1], "据考试结束还有：44分钟59秒，时间充足");
}

TEST_F(Exam, EveryScoreBandAndTheRetryButton) {
    start(bankOf(30));
    struct Case {
        int score;
        const char* text;
    } cases[] = {
        {0, kBelow30},  {29, kBelow30}, {30, kBelow50}, {49, kBelow50}, {50, kBelow60}, {59, kBelow60},
        {60, kBelow80}, {79, kBelow80}, {80, kBelow90}, {89, kBelow90}, {90, kBelow95}, {94, kBelow95},
        {95, kAlmost},  {99, kAlmost},  {100, kFull},   {101, kAlmost},
    };
    for (const Case& c : cases) {
        t().exam.finishExam(c.score);
        EXPECT_EQ(win.text[Ctl::LabelMessage], with(c.text, c.score)) << c.score;
        EXPECT_TRUE(win.isVisible(Ctl::Panel2)) << c.score;
        EXPECT_FALSE(win.isVisible(Ctl::pnl2)) << c.score;
        EXPECT_EQ(win.isVisible(Ctl::btn3), c.score < 100) << c.score;
        EXPECT_EQ(st().history[st().historyCount].score, c.score);
    }
    EXPECT_EQ(st().historyCount, 16);
}

TEST_F(Exam, HandInCountsOnlyExactAnswers) {
    start(bankOf(40));
    t().modes.KaoShiClick();
    ASSERT_EQ(s().listCount, 5);
    struct Set {
        int type, answer, given;
    } sets[] = {
        {2, 6, 6},           // right
        {1, 1, 2},           // wrong
        {1, 3, 0},           // unanswered
        {3, 2 | 8, 2 | 8},   // exact set
        {3, 2 | 8, 2 | 8 | 16}, // one option too many
    };
    for (int i = 1; i <= 5; ++i) {
        entry(i).type = sets[i - 1].type;
        entry(i).answer = sets[i - 1].answer;
        entry(i).userAnswer = sets[i - 1].given;
    }
    EXPECT_EQ(t().exam.score(), 2);
    // A missing question (answer 0) left unanswered scores nothing either.
    entry(3).answer = 0;
    EXPECT_EQ(t().exam.score(), 2);
    t().exam.JIAOJUANClick();
    EXPECT_FALSE(win.running(Tmr::tmruptime));
    EXPECT_EQ(st().historyCount, 1);
    EXPECT_EQ(st().history[1].score, 2);
    EXPECT_EQ(win.text[Ctl::LabelMessage], with(kBelow30, 2));
}

TEST_F(Exam, UnansweredPaperIsRecordedWithoutAnswers) {
    start(bankOf(40));
    sitExam(false);
    ASSERT_EQ(st().historyCount, 1);
    const HistoryEntry& h = st().history[1];
    EXPECT_EQ(h.score, 0);
    ASSERT_EQ(h.itemCount, 5);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(h.items[i].questionId, entry(i).id);
        EXPECT_EQ(h.items[i].userAnswer, 0);
        EXPECT_EQ(h.items[i].firstRight, 0);
    }
    EXPECT_TRUE(win.isVisible(Ctl::btn3));
}

TEST_F(Exam, SmallBankGivesAShorterPaperGradedByAbsoluteScore) {
    start(bankOf(80), [](Sfile& s) { s.examCount = 100; });
    sitExam(true);
    EXPECT_EQ(s().listCount, 80);
    EXPECT_EQ(st().history[1].itemCount, 80);
    EXPECT_EQ(st().history[1].score, 80);
    EXPECT_EQ(win.text[Ctl::LabelMessage], with(kBelow90, 80));
}

TEST_F(Exam, PaperNeverOutgrowsAHistoryEntry) {
    start(bankOf(400), [](Sfile& s) { s.examCount = 300; });
    sitExam(true);
    EXPECT_EQ(s().listCount, 199);
    EXPECT_EQ(st().history[1].itemCount, 199);
    EXPECT_EQ(st().history[1].score, 199);
    // The bank tag behind the last item is intact.
    EXPECT_EQ(readField(st().history[1].bankTag), "TKxiaoche");
}

TEST_F(Exam, SlotBytesAtTheirOffsets) {
    // Slot 1 holds old bytes that the new entry only partly covers.
    start(bankOf(40), [](Sfile& s) { std::memset(&s.history[1], 0xAB, sizeof(HistoryEntry)); });
    t().modes.KaoShiClick();
    entry(1).userAnswer = entry(1).answer;
    entry(1).firstRight = true;
    entry(3).userAnswer = entry(3).answer == 1 ? 2 : 1;
    t().exam.JIAOJUANClick();

    std::string file = stateBytes();
    ASSERT_EQ(file.size(), sizeof(Sfile));
    EXPECT_EQ(int32At(file, 24), 1); // historyCount
    const std::size_t slot = 64 + 2472 * 1;
    std::string takenAt = gbkOf("2012年05月06日13点05分22秒");
    ASSERT_EQ(takenAt.size(), 26u);
    EXPECT_EQ(file.substr(slot, 27), takenAt + std::string(1, '\0'));
    EXPECT_EQ(file.substr(slot + 27, 5), std::string(5, '\xAB'));
    EXPECT_EQ(int32At(file, slot + 32), 1);
    EXPECT_EQ(int32At(file, slot + 36), 5);
    for (int i = 1; i <= 5; ++i) {
        std::size_t item = slot + 52 + 12 * static_cast<std::size_t>(i - 1);
        EXPECT_EQ(int32At(file, item), entry(i).id) << i;
        EXPECT_EQ(int32At(file, item + 4), entry(i).userAnswer) << i;
        EXPECT_EQ(file[item + 8], i == 1 ? '\1' : '\0') << i;
        EXPECT_EQ(file.substr(item + 9, 3), std::string(3, '\xAB')) << i;
    }
    // Item 0 and the items past the paper are left alone.
    EXPECT_EQ(file.substr(slot + 40, 12), std::string(12, '\xAB'));
    EXPECT_EQ(file.substr(slot + 52 + 12 * 5, 12), std::string(12, '\xAB'));
    EXPECT_EQ(file.substr(slot + 2440, 10), std::string("TKxiaoche") + '\0');
    EXPECT_EQ(file.substr(slot + 2450, 22), std::string(22, '\xAB'));
}

TEST_F(Exam, SecondEntryGoesToTheNextSlot) {
    start(bankOf(40));
    sitExam(false);
    sitExam(true);
    std::string file = stateBytes();
    EXPECT_EQ(int32At(file, 24), 2);
    EXPECT_EQ(int32At(file, 64 + 2472 * 2 + 32), 5);
    EXPECT_EQ(int32At(file, 64 + 2472 * 1 + 32), 0);
}

TEST_F(Exam, FullHistoryLeavesTheStateFileAlone) {
    start(bankOf(40), [](Sfile& s) { s.historyCount = 998; });
    sitExam(true);
    EXPECT_TRUE(win.messages.empty());
    EXPECT_EQ(st().historyCount, 999);
    std::string file = stateBytes();
    EXPECT_EQ(int32At(file, 24), 999);
    EXPECT_EQ(int32At(file, 64 + 2472 * 999 + 32), 5);
    EXPECT_EQ(int32At(file, 64 + 2472 * 999 + 36), 5);

    now += 60;
    sitExam(false);
    ASSERT_EQ(win.messages.size(), 1u);
    EXPECT_EQ(win.messages[0], "没法记录了，请删除一些历史记录。");
    EXPECT_EQ(st().historyCount, 999);
    EXPECT_EQ(stateBytes(), file);
    // The result is shown all the same.
    EXPECT_TRUE(win.isVisible(Ctl::Panel2));
    EXPECT_EQ(win.text[Ctl::LabelMessage], with(kBelow30, 0));
}

TEST_F(Exam, FailedSaveKeepsTheEntryInMemory) {
    start(bankOf(40));
    std::string before = stateBytes();
    AtomicFile::setWriteHook([](const std::string&, std::size_t) { return false; });
    sitExam(true);
    AtomicFile::setWriteHook({});
    ASSERT_EQ(win.messages.size(), 1u);
    // The disk filled while the file was being written: code 3.
    EXPECT_EQ(win.messages[0].rfind("错误代码:3,或者请以管理员身份运行；", 0), 0u) << win.messages[0];
    EXPECT_EQ(stateBytes(), before);
    EXPECT_EQ(st().historyCount, 1);
    // The next successful save writes it.
    sitExam(false);
    EXPECT_EQ(int32At(stateBytes(), 24), 2);
}

TEST_F(Exam, LeavingTheExamAbandonsIt) {
    struct Case {
        const char* name;
        std::function<void(Trainer&)> leave;
    } cases[] = {
        {"sequential", [](Trainer& t) { t.modes.SunXuClick(); }},
        {"beginner", [](Trainer& t) { t.modes.chujiClick(); }},
        {"hard", [](Trainer& t) { t.modes.LianXKSClick(); }},
        {"error review", [](Trainer& t) { t.review.btnErrorLianXClick(); }},
    };
    for (const Case& c : cases) {
        start(bankOf(40));
        std::string before = stateBytes();
        t().modes.KaoShiClick();
        ASSERT_TRUE(win.running(Tmr::tmruptime));
        ASSERT_TRUE(win.isVisible(Ctl::JIAOJUAN));
        c.leave(t());
        EXPECT_FALSE(win.running(Tmr::tmruptime)) << c.name;
        EXPECT_FALSE(win.isVisible(Ctl::JIAOJUAN)) << c.name;
        EXPECT_FALSE(win.isVisible(Ctl::lbl1)) << c.name;
        EXPECT_EQ(st().historyCount, 0) << c.name;
        EXPECT_EQ(stateBytes(), before) << c.name;
    }
}

TEST_F(Exam, ClosingTheResultShowsTheFirstQuestionInPracticeDisplay) {
    start(bankOf(40));
    t().modes.KaoShiClick();
    t().view.showQuestion(4);
    EXPECT_EQ(win.lastView().label3, "4/5");
    handIn(false);
    EXPECT_EQ(s().displayMode, 1);
    t().exam.btn1Click();
    EXPECT_FALSE(win.isVisible(Ctl::Panel2));
    EXPECT_EQ(s().displayMode, 2);
    EXPECT_EQ(s().current, 1);
    EXPECT_EQ(s().listAnswered, 0);
    EXPECT_EQ(s().listRight, 0);
    EXPECT_EQ(win.lastView().label3, "1/5");
    EXPECT_FALSE(win.isVisible(Ctl::pnl2));
}
