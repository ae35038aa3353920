// Showing one entry: the judgement texts and marks, hints, answer
// controls, the answer pictures, the question's picture, and answer texts.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/AnswerText.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

TEST(AnswerText, SingleChoiceAndTrueFalseCodes) {
    const struct {
        int type, code;
        const char* text;
    } cases[] = {{1, 1, "A"}, {1, 2, "B"}, {1, 3, "C"}, {1, 4, "D"}, {2, 5, "错"}, {2, 6, "对"},
                 {1, 0, ""},  {1, 7, ""},  {2, -1, ""}, {1, 6, "对"}, {0, 3, "C"}, {99, 5, "错"}};
    for (const auto& c : cases) EXPECT_EQ(c.text, answerText(c.type, c.code)) << c.type << "/" << c.code;
}

TEST(AnswerText, MultipleChoiceLettersInOrderWithoutI) {
    const struct {
        int code;
        const char* text;
    } cases[] = {{2 | 8 | 256, "ACH"}, {256 | 2 | 8, "ACH"}, {2 + 4 + 8 + 16 + 32 + 64 + 128 + 256, "ABCDEFGH"},
                 {1024, "J"},         {2048, "K"},         {512, ""},
                 {1, ""},             {0, ""},             {1 | 2 | 512 | 1024 | 2048, "AJK"},
                 {10, "AC"},          {4, "B"}};
    for (const auto& c : cases) EXPECT_EQ(c.text, answerText(3, c.code)) << c.code;
}

class ShowQuestion : public TrainerTest {
protected:
    // Question 1 single choice with answer D, 2 true/false with 对, 3 multiple
    // choice A+C, 4 of an unknown type.
    void SetUp() override {
        Bank bank = plainBank(6);
        bank.records[1].answer = kAnswerD;
        bank.records[2].type = kTrueFalse;
        bank.records[2].answer = kAnswerTrue;
        bank.records[3].type = kMultipleChoice;
        bank.records[3].answer = 2 | 8;
        bank.records[4].type = 9;
        bank_ = bank;
    }
    void begin(const std::function<void(Bank&)>& change = {}) {
        if (change) change(bank_);
        start(bank_);
        t().modes.SunXuClick();
        win.forget();
    }
    std::string mark(const char* file) { return path("bankdata/" + std::string(file)); }
    Bank bank_;
};

TEST_F(ShowQuestion, WrongAnswerNamesBothAnswersOnThreeLines) {
    begin();
    answerAt(1, kAnswerB);
    const auto& v = win.lastView();
    EXPECT_TRUE(v.label4Visible);
    EXPECT_EQ("你打错了！\r\n你的答案:B\r\n正确答案：D", v.label4);
    EXPECT_TRUE(v.image2Visible);
    EXPECT_EQ(mark("fileclose.png"), v.image2);
    EXPECT_TRUE(win.messages.empty());
}

TEST_F(ShowQuestion, ExplanationReplacesTheWrongAnswerText) {
    begin([](Bank& b) { setExplanation(b.records[1], "遇到此标志应停车让行。"); });
    answerAt(1, kAnswerC);
    EXPECT_EQ("遇到此标志应停车让行。", win.lastView().label4);
    EXPECT_EQ(mark("fileclose.png"), win.lastView().image2);
}

TEST_F(ShowQuestion, OftenWrongQuestionWarnsWithTheSnapshotCountsEachTimeItIsShown) {
    for (int wrong : {2, 3, 7}) {
        SCOPED_TRACE(wrong);
        begin([wrong](Bank& b) {
            b.records[1].wrongCount = wrong;
            b.records[1].rightCount = 4;
        });
        answerAt(1, kAnswerB); // raises the record to wrong + 1; the entry keeps its copy
        if (wrong < 3) {
            EXPECT_TRUE(win.messages.empty());
            continue;
        }
        const std::string warning = "错误次数超过3次，请你认真想想;\r\n本题全部错误次数" + std::to_string(wrong) +
                                    "次,答对次数:4";
        EXPECT_EQ(std::vector<std::string>{warning}, win.messages);
        t().nav.DOClick();
        t().nav.UPClick();
        EXPECT_EQ((std::vector<std::string>{warning, warning}), win.messages);
        // Right after all: no warning.
        t().judge.answerQuestion(kAnswerD);
        EXPECT_EQ(2u, win.messages.size());
        win.forget();
    }
}

TEST_F(ShowQuestion, RightAnswersAtTheFirstTryAndAfterAWrongOne) {
    begin();
    answerAt(1, kAnswerD);
    EXPECT_EQ("你的答案:D答对了", win.lastView().label4);
    EXPECT_EQ(mark("select.png"), win.lastView().image2);

    answerAt(2, kAnswerTrue);
    EXPECT_EQ("你的答案:对答对了", win.lastView().label4);

    t().view.showQuestion(5);
    t().judge.answerQuestion(kAnswerC);
    t().judge.answerQuestion(kAnswerA);
    EXPECT_EQ("你的答案:A答对了\r\n但是我发现你第一次没答对，所以只能给你个感叹号", win.lastView().label4);
    EXPECT_EQ(mark("gantan.png"), win.lastView().image2);
    EXPECT_TRUE(win.lastView().image2Visible);
}

TEST_F(ShowQuestion, WithoutShowAnswerOnlyTheAnswerIsShownAndTheMarkIsLeftAlone) {
    begin();
    t().nav.setShowAnswer(false);
    answerAt(1, kAnswerB);
    const auto& v = win.lastView();
    EXPECT_TRUE(v.label4Visible);
    EXPECT_EQ("你的答案:B", v.label4);
    EXPECT_EQ("", v.image2); // keeps whatever it showed
    EXPECT_FALSE(v.image2Visible);
    EXPECT_TRUE(win.messages.empty());
    EXPECT_TRUE(v.checkBox1Visible);
}

TEST_F(ShowQuestion, ExamDisplayShowsTheAnswerWithoutJudgement) {
    begin([](Bank& b) { b.records[1].wrongCount = 5; });
    s().examDraw = ExamDraw([] { return 1u; });
    s().state->examCount = 6;
    t().modes.KaoShiClick(); // a bank of six: the paper is the buffer in order
    ASSERT_EQ(1, entry(1).id);
    answerAt(1, kAnswerB);
    const auto& v = win.lastView();
    EXPECT_EQ("你的答案:B", v.label4);
    EXPECT_EQ("", v.image2);
    EXPECT_FALSE(v.checkBox1Visible);
    EXPECT_EQ("点击\"本题分析\"可查看错误次数和答案", v.label7);
    EXPECT_TRUE(win.messages.empty()); // no warning in the exam
    // The chosen answer's picture is shown after the view.
    EXPECT_EQ(path("skin/b0.png"), win.image[Ctl::Image3]);
}

TEST_F(ShowQuestion, HintDependsOnTheWrongCountSnapshot) {
    begin([](Bank& b) { b.records[2].wrongCount = 1; });
    t().view.showQuestion(1);
    EXPECT_EQ("本题是你答的较少的题", win.lastView().label7);
    t().view.showQuestion(2);
    EXPECT_EQ("本题是你错的较多的题", win.lastView().label7);
    EXPECT_FALSE(win.lastView().label4Visible);
    EXPECT_FALSE(win.lastView().image2Visible);
}

TEST_F(ShowQuestion, PositionIdTextAndAnswerControls) {
    begin();
    const struct {
        int position;
        AnswerPanel panel;
    } cases[] = {{1, AnswerPanel::Single}, {2, AnswerPanel::TrueFalse}, {3, AnswerPanel::Multi}, {4, AnswerPanel::None}};
    for (const auto& c : cases) {
        t().view.showQuestion(c.position);
        const auto& v = win.lastView();
        EXPECT_EQ(c.panel, v.panel) << c.position;
        EXPECT_EQ(std::to_string(c.position) + "/6", v.label3);
        EXPECT_EQ("本题ID：" + std::to_string(c.position), v.label2);
        EXPECT_EQ("第" + std::to_string(c.position) + "题：遇到这种情况怎么办？", v.memo1);
        EXPECT_EQ(c.position, s().current);
    }
    t().view.showQuestion(0); // 0 keeps the position
    EXPECT_EQ(4, s().current);
}

TEST_F(ShowQuestion, AnswerPicturesShowTheChosenAnswerPressed) {
    begin();
    const struct {
        int position, code;
        Ctl chosen;
        const char* picture;
    } cases[] = {{1, kAnswerA, Ctl::Image1, "a0.png"}, {1, kAnswerB, Ctl::Image3, "b0.png"},
                 {1, kAnswerC, Ctl::img3, "c0.png"},   {1, kAnswerD, Ctl::img4, "d0.png"},
                 {2, kAnswerFalse, Ctl::Image5, "cuo0.png"}, {2, kAnswerTrue, Ctl::Image4, "dui0.png"}};
    const struct {
        Ctl control;
        const char* normal;
    } all[] = {{Ctl::Image1, "a.png"}, {Ctl::Image3, "b.png"}, {Ctl::img3, "c.png"},
               {Ctl::img4, "d.png"},   {Ctl::Image5, "cuo.png"}, {Ctl::Image4, "dui.png"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        s().hoverArmed = true;
        answerAt(c.position, c.code);
        for (const auto& a : all)
            EXPECT_EQ(path(std::string("skin/") + (a.control == c.chosen ? c.picture : a.normal)), win.image[a.control]);
        EXPECT_FALSE(s().hoverArmed);
    }
    // An unanswered entry shows every answer normal and leaves the hover flag.
    s().hoverArmed = true;
    t().view.showQuestion(5);
    for (const auto& a : all) EXPECT_EQ(path(std::string("skin/") + a.normal), win.image[a.control]);
    EXPECT_TRUE(s().hoverArmed);
}

TEST_F(ShowQuestion, MultipleChoiceBoxesFollowTheStoredAnswer) {
    begin();
    entry(3).userAnswer = 2 | 8 | 256;
    t().view.showQuestion(3);
    const Ctl boxes[] = {Ctl::chkA, Ctl::chkB, Ctl::chkC, Ctl::chkD, Ctl::chkE, Ctl::chkF, Ctl::chkG, Ctl::chkH};
    const bool ticked[] = {true, false, true, false, false, false, false, true};
    for (int b = 0; b < 8; ++b) EXPECT_EQ(ticked[b], win.checked[boxes[b]]) << b;
    EXPECT_TRUE(s().boxEventsEnabled);
    EXPECT_EQ("你打错了！\r\n你的答案:ACH\r\n正确答案：AC", win.lastView().label4);
    // Nothing ticked for an unanswered entry.
    entry(3).userAnswer = 0;
    t().view.showQuestion(3);
    for (Ctl box : boxes) EXPECT_FALSE(win.checked[box]);
}

struct PictureCase {
    const char* name;      // in the bank
    int extraBank;
    const char* file;      // created in the program folder, "" for none
    const char* shownFile; // expected picture, "" for hidden
    const char* message;   // expected message, "" for none
};

TEST_F(ShowQuestion, PictureLookupAndMissingPictures) {
    const PictureCase cases[] = {
        {"pics\\q 5.png", 0, "bankdata/pics/q5.png", "bankdata/pics/q5.png", ""},
        {" pics\\q5 .png ", 0, "", "", "汗~怎么找不到图片：pics\\q5.png"},
        {"pics\\q5.png", 1, "pics/q5.png", "pics/q5.png", ""},
        {"pics\\q5.png", 0, "pics/q5.png", "", "汗~怎么找不到图片：pics\\q5.png"},
        {"q5.png", 1, "bankdata/q5.png", "bankdata/q5.png", ""},
        {"限速 标志.png", 0, "bankdata/限速标志.png", "bankdata/限速标志.png", ""},
        {"限速 标志.png", 1, "", "", "汗~怎么找不到图片：限速标志.png"},
        {"   ", 0, "", "", ""},
        {"", 1, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " extra " + std::to_string(c.extraBank));
        win.forget();
        Bank bank = plainBank(3);
        setPicture(bank.records[2], c.name);
        start(bank, [&c](Sfile& st) { st.extraBank = c.extraBank; });
        if (*c.file) dir.write(c.file, "picture");
        t().modes.SunXuClick();
        win.forget();
        t().view.showQuestion(2);
        const auto& v = win.lastView();
        EXPECT_EQ(*c.shownFile != 0, v.pictureVisible);
        if (*c.shownFile) {
            EXPECT_EQ(path(c.shownFile), v.picture);
        }
        if (*c.message) {
            EXPECT_EQ(std::vector<std::string>{c.message}, win.messages);
            // Every showing asks again.
            t().view.showQuestion(2);
            EXPECT_EQ(2u, win.messages.size());
        } else {
            EXPECT_TRUE(win.messages.empty());
        }
        if (*c.file) std::filesystem::remove(path(c.file));
    }
}

TEST_F(ShowQuestion, EmptyListShowsNoEntry) {
    begin();
    // An earlier list left entries behind; a list of none must not show them.
    s().state->beginnerCount = 0;
    t().modes.chujiClick();
    ASSERT_EQ(0, s().listCount);
    const auto& v = win.lastView();
    EXPECT_EQ("", v.memo1);
    EXPECT_EQ("", v.label2);
    EXPECT_FALSE(v.label4Visible);
    EXPECT_EQ(AnswerPanel::None, v.panel);
    EXPECT_TRUE(win.messages.empty());
    EXPECT_EQ(PickerCanvas::kBlank, s().picker.style(1));
}

} // namespace
