// Recorded exams: the list, viewing, sitting again, deleting, the bank
// check and the question lookup.
#include <cstring>

#include "ExamFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

class History : public ExamRig {
protected:
    HistoryBook& book() { return t().history; }

    // Sits an exam of five with entries 1 and 4 right, entry 2 wrong and the
    // rest unanswered; returns the paper's ids.
    std::vector<int> sitMarkedExam() {
        t().modes.KaoShiClick();
        std::vector<int> ids;
        for (int i = 1; i <= s().listCount; ++i) ids.push_back(entry(i).id);
        for (int i : {1, 4}) {
            entry(i).userAnswer = entry(i).answer;
            entry(i).firstRight = true;
        }
        entry(2).userAnswer = entry(2).answer == 1 ? 2 : 1;
        t().exam.JIAOJUANClick();
        return ids;
    }

    // The list entry must be what a list builder makes of the bank record.
    void expectBuiltFrom(int i, std::int32_t id) {
        const QuestionRecord* r = recordOf(id);
        ASSERT_NE(r, nullptr) << id;
        const ListEntry& e = entry(i);
        EXPECT_EQ(e.id, id);
        EXPECT_EQ(e.text, gbk::toUtf8Lossy(readField(r->text))) << i;
        EXPECT_EQ(e.answer, r->answer) << i;
        EXPECT_EQ(e.picture, std::string(readField(r->picture))) << i;
        EXPECT_EQ(e.type, r->type) << i;
        EXPECT_EQ(e.rightCount, r->rightCount) << i;
        EXPECT_EQ(e.wrongCount, r->wrongCount) << i;
        EXPECT_EQ(e.answerCount, r->answerCount) << i;
        EXPECT_EQ(e.explanation, gbk::toUtf8Lossy(readField(r->explanation))) << i;
        EXPECT_EQ(e.extra, r->extra) << i;
        EXPECT_FALSE(e.counted) << i;
    }
};

// A bank whose record `extra` fields tell the records apart.
Bank markedBank(int n) {
    Bank b = bankOf(n);
    for (int i = 1; i <= n; ++i) b.records[static_cast<std::size_t>(i)].extra = 1000 + i;
    return b;
}

} // namespace

TEST_F(History, RowsNumberTheSlotsOldestFirst) {
    start(bankOf(40));
    sitExam(false);
    now += 3725; // 14:07:27
    sitExam(true);
    book().lv1Change(2);
    auto rows = book().fillHistoryList();
    EXPECT_EQ(book().selectedEntry, 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, "1");
    EXPECT_EQ(rows[0].takenAt, "2012年05月06日13点05分22秒");
    EXPECT_EQ(rows[0].score, "0");
    EXPECT_EQ(rows[0].bankTag, "TKxiaoche");
    EXPECT_EQ(rows[0].bankName, "小车");
    EXPECT_EQ(rows[1].number, "2");
    EXPECT_EQ(rows[1].takenAt, "2012年05月06日14点07分27秒");
    EXPECT_EQ(rows[1].score, "5");
}

TEST_F(History, EveryActionNeedsAChosenRow) {
    start(bankOf(40));
    EXPECT_TRUE(book().fillHistoryList().empty());
    int mode = s().modeCode;
    std::string before = stateBytes();
    EXPECT_FALSE(book().btn3Click());
    EXPECT_FALSE(book().btn1Click());
    EXPECT_FALSE(book().btn4Click());
    EXPECT_FALSE(book().btn2Click());
    EXPECT_EQ(win.messages, std::vector<std::string>(4, "请先选择，历史记录！"));
    EXPECT_EQ(s().modeCode, mode);
    EXPECT_EQ(stateBytes(), before);
    // A number beyond the list counts as no choice.
    sitExam(false);
    win.messages.clear();
    book().lv1Change(2);
    EXPECT_FALSE(book().btn2Click());
    EXPECT_EQ(win.messages, std::vector<std::string>{"请先选择，历史记录！"});
    EXPECT_EQ(st().historyCount, 1);
}

TEST_F(History, DeletingTheMiddleEntryMovesTheLastOneDown) {
    start(bankOf(40));
    sitExam(false);
    sitExam(true);
    now += 60;
    sitMarkedExam();
    ASSERT_EQ(st().historyCount, 3);
    std::string third = stateBytes().substr(64 + 2472 * 3, 2472);

    book().fillHistoryList();
    book().lv1Change(2);
    EXPECT_TRUE(book().btn2Click());
    EXPECT_EQ(book().selectedEntry, 0);
    auto rows = book().rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, "1");
    EXPECT_EQ(rows[0].score, "0");
    EXPECT_EQ(rows[1].number, "2");
    EXPECT_EQ(rows[1].score, "2");
    EXPECT_EQ(rows[1].takenAt, "2012年05月06日13点06分22秒");
    std::string file = stateBytes();
    EXPECT_EQ(int32At(file, 24), 2);
    EXPECT_EQ(file.substr(64 + 2472 * 2, 2472), third);
    EXPECT_TRUE(win.messages.empty());
}

TEST_F(History, PaperOfAnotherBankIsRefused) {
    start(bankOf(40));
    sitExam(true);
    t().modes.SunXuClick();
    std::vector<int> listed;
    for (int i = 1; i <= s().listCount; ++i) listed.push_back(entry(i).id);
    st().bankChoice = 2; // the bus bank is loaded now
    book().fillHistoryList();
    book().lv1Change(1);
    EXPECT_FALSE(book().btn3Click());
    EXPECT_FALSE(book().btn1Click());
    EXPECT_FALSE(book().btn4Click());
    EXPECT_EQ(win.messages, std::vector<std::string>(3, "题库类型不正确，请选择正确题库"));
    EXPECT_EQ(s().modeCode, 0);
    EXPECT_FALSE(win.running(Tmr::tmruptime));
    ASSERT_EQ(s().listCount, static_cast<int>(listed.size()));
    for (int i = 1; i <= s().listCount; ++i) EXPECT_EQ(entry(i).id, listed[static_cast<std::size_t>(i - 1)]);
    // Deleting is allowed whatever the bank.
    EXPECT_TRUE(book().btn2Click());
    EXPECT_EQ(st().historyCount, 0);
}

TEST_F(History, LongExtraBankPathIsRecognised) {
    const std::string path = "额外题库\\驾驶理论练习题库第二版修订.tk";
    ASSERT_GT(gbkOf(path).size(), 31u);
    dir.mkdir("额外题库");
    start(bankOf(40), [&](Sfile& s) {
        s.bankChoice = 4;
        s.extraBank = 1;
    }, path);
    ASSERT_TRUE(s().bankLoaded);
    sitExam(true);
    std::string tag(readField(st().history[1].bankTag));
    EXPECT_LE(tag.size(), 31u);
    EXPECT_TRUE(gbk::toUtf8(tag).has_value()) << "the tag starts at a character boundary";
    EXPECT_EQ(gbkOf(path).substr(gbkOf(path).size() - tag.size()), tag);

    auto rows = book().fillHistoryList();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].bankName, "驾驶理论练习题库第二版修订.tk");
    book().lv1Change(1);
    EXPECT_TRUE(book().btn3Click());
    EXPECT_TRUE(win.messages.empty());

    // Another extra bank with another name is not taken for this one.
    writeField(st().bankPath, gbkOf("额外题库\\货车驾驶理论练习题库第三版.tk"));
    EXPECT_FALSE(book().btn3Click());
    EXPECT_EQ(win.messages, std::vector<std::string>{"题库类型不正确，请选择正确题库"});
}

TEST_F(History, ViewingShowsTheAnswersGiven) {
    start(markedBank(40));
    std::vector<int> ids = sitMarkedExam();
    std::vector<HistoryItem> items(st().history[1].items + 1, st().history[1].items + 6);
    t().modes.LianXKSClick();

    book().fillHistoryList();
    book().lv1Change(1);
    EXPECT_TRUE(book().btn3Click());
    EXPECT_TRUE(win.messages.empty());
    EXPECT_EQ(s().modeCode, 1);
    EXPECT_EQ(s().displayMode, 2);
    EXPECT_FALSE(win.running(Tmr::tmruptime));
    EXPECT_EQ(win.caption.rfind("初步练习     ", 0), 0u);
    ASSERT_EQ(s().listCount, 5);
    for (int i = 1; i <= 5; ++i) {
        expectBuiltFrom(i, ids[static_cast<std::size_t>(i - 1)]);
        EXPECT_EQ(entry(i).userAnswer, items[static_cast<std::size_t>(i - 1)].userAnswer) << i;
        EXPECT_EQ(entry(i).firstRight, items[static_cast<std::size_t>(i - 1)].firstRight != 0) << i;
    }
    EXPECT_NE(entry(1).userAnswer, 0);
    EXPECT_NE(entry(2).userAnswer, 0);
    EXPECT_EQ(entry(3).userAnswer, 0);
    EXPECT_EQ(s().current, 1);
    EXPECT_EQ(win.lastView().label3, "1/5");
    EXPECT_EQ(win.lastView().label2, "本题ID：" + std::to_string(ids[0]));
    // The practice display judges the answer that was given.
    EXPECT_TRUE(win.lastView().label4Visible);
}

TEST_F(History, RetakeClearsTheAnswersAndIsRecordedAnew) {
    start(markedBank(40));
    std::vector<int> ids = sitMarkedExam();
    std::string first = stateBytes().substr(64 + 2472, 2472);
    t().exam.btn1Click();

    now += 600;
    book().fillHistoryList();
    book().lv1Change(1);
    EXPECT_TRUE(book().btn1Click());
    EXPECT_EQ(s().modeCode, 3);
    EXPECT_EQ(s().displayMode, 1);
    EXPECT_TRUE(win.running(Tmr::tmruptime));
    EXPECT_TRUE(win.isVisible(Ctl::JIAOJUAN));
    EXPECT_EQ(s().examStart, now);
    ASSERT_EQ(s().listCount, 5);
    for (int i = 1; i <= 5; ++i) {
        expectBuiltFrom(i, ids[static_cast<std::size_t>(i - 1)]);
        EXPECT_EQ(entry(i).userAnswer, 0) << i;
        EXPECT_FALSE(entry(i).firstRight) << i;
    }
    // The start display marks this paper's questions.
    for (int id : ids) EXPECT_EQ(s().picker.style(id), PickerCanvas::kDrawn) << id;
    EXPECT_EQ(win.lastView().label3, "1/5");

    entry(5).userAnswer = entry(5).answer;
    t().exam.JIAOJUANClick();
    ASSERT_EQ(st().historyCount, 2);
    const HistoryEntry& again = st().history[2];
    EXPECT_EQ(again.score, 1);
    ASSERT_EQ(again.itemCount, 5);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(again.items[i].questionId, ids[static_cast<std::size_t>(i - 1)]);
    std::string file = stateBytes();
    EXPECT_EQ(file.substr(64 + 2472, 2472), first);
    EXPECT_EQ(int32At(file, 24), 2);
}

TEST_F(History, MissingQuestionShowsAsAnEmptyEntry) {
    start(markedBank(40));
    std::vector<int> ids = sitMarkedExam();
    st().history[1].items[2].questionId = 999999;
    book().fillHistoryList();
    book().lv1Change(1);
    ASSERT_TRUE(book().btn3Click());
    expectBuiltFrom(1, ids[0]);
    expectBuiltFrom(3, ids[2]);
    const ListEntry& e = entry(2);
    EXPECT_EQ(e.id, 999999);
    EXPECT_EQ(e.text, "");
    EXPECT_EQ(e.answer, 0);
    EXPECT_EQ(e.picture, "");
    EXPECT_EQ(e.type, 0);
    EXPECT_EQ(e.explanation, "");
    EXPECT_EQ(e.extra, 0);
    EXPECT_EQ(e.rightCount + e.wrongCount + e.answerCount, 0);

    // The lookup itself: found, found again from the cache, not found.
    STRUCT_TK found = book().lookupQuestion(ids[0]);
    EXPECT_EQ(found.text, entry(1).text);
    EXPECT_EQ(book().lookupQuestion(ids[0]).text, found.text);
    STRUCT_TK none = book().lookupQuestion(999999);
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.answer, 0);
    EXPECT_EQ(book().lookupQuestion(ids[0]).answer, found.answer);
}

TEST_F(History, LookupForgetsTheBankThatWasLeft) {
    Bank a = bankOf(30);
    start(a);
    std::int32_t id = a.records[7].id;
    EXPECT_EQ(book().lookupQuestion(id).text, gbk::toUtf8Lossy(readField(a.records[7].text)));

    Bank b = a;
    writeField(b.records[7].text, gbkOf("另一个题库里的同号题目"));
    b.records[7].answer = 3;
    b.records[7].type = 1;
    ASSERT_EQ(BankFile::store(b, dir.file("bankdata/y.tk")), "");
    writeField(st().bankPath, "bankdata\\y.tk");
    ASSERT_TRUE(t().reloadBank());
    STRUCT_TK q = book().lookupQuestion(id);
    EXPECT_EQ(q.text, "另一个题库里的同号题目");
    EXPECT_EQ(q.answer, 3);
}

TEST_F(History, ForeignCountsAreKeptWithinTheirAreas) {
    start(bankOf(40));
    st().historyCount = 5000;
    EXPECT_EQ(book().rows().size(), 999u);
    st().historyCount = -3;
    EXPECT_TRUE(book().rows().empty());
    book().lv1Change(1);
    EXPECT_FALSE(book().btn3Click());

    HistoryEntry e{};
    e.itemCount = 1000;
    t().history.fillFromEntry(e, true);
    EXPECT_EQ(s().listCount, 199);
    e.itemCount = -1;
    t().history.fillFromEntry(e, true);
    EXPECT_EQ(s().listCount, 0);
}

// The "类型" column says what a learner calls the bank; the stored tag, which
// reopening compares, stays as it is.
TEST_F(History, TypeColumnNamesTheBank) {
    const std::string longName = "驾驶员理论考试练习题库第二版修订增补本.tk";
    const std::string longTail = ExamSession::storedBankTag(gbkOf(longName));
    ASSERT_LT(longTail.size(), gbkOf(longName).size());
    const std::string pathTail = ExamSession::storedBankTag(gbkOf("额外题库\\驾驶理论练习题库第二版修订.tk"));
    ASSERT_EQ(pathTail.find('\\'), 0u);
    struct Case {
        std::string stored; // GBK
        std::string shown;
    };
    const Case cases[] = {
        {"TKxiaoche", "小车"},
        {"TKkeche", "客车"},
        {"TKhuoche", "货车"},
        {gbkOf("自选题库.tk"), "自选题库.tk"},
        {gbkOf("题库\\自选.tk"), "自选.tk"},
        {"banks/extra/mine.tk", "mine.tk"},
        {pathTail, "驾驶理论练习题库第二版修订.tk"}, // a long path, cut before its name
        {longTail, "…" + gbk::toUtf8Lossy(longTail)}, // a long name, cut inside it
        {"TKkeche2", "TKkeche2"},
        {"", ""},
    };
    start(bankOf(40));
    st().historyCount = static_cast<std::int32_t>(std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) writeField(st().history[i + 1].bankTag, cases[i].stored);
    auto rows = book().fillHistoryList();
    ASSERT_EQ(rows.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(rows[i].bankName, cases[i].shown) << i;
        EXPECT_EQ(rows[i].bankTag, gbk::toUtf8Lossy(cases[i].stored)) << i;
    }

    // With that long-named bank loaded, its papers show the whole name and
    // still reopen.
    writeField(st().bankPath, gbkOf(longName));
    st().bankChoice = 4;
    rows = book().fillHistoryList();
    EXPECT_EQ(rows[7].bankName, longName);
    EXPECT_EQ(rows[6].bankName, "驾驶理论练习题库第二版修订.tk");
    book().lv1Change(8);
    EXPECT_TRUE(book().btn4Click());
    book().lv1Change(4);
    EXPECT_FALSE(book().btn4Click());
}
