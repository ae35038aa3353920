// What a screen reader reads: the names of the pictures, lists and texts,
// the options found in a question's text, and the descriptions of the
// question on show.
#include <gtest/gtest.h>

#include <map>

#include "engine/ControlNames.h"

using namespace cxb;

namespace {

std::map<std::string, std::string> asMap(const std::vector<std::pair<std::string, std::string>>& pairs) {
    return {pairs.begin(), pairs.end()};
}

} // namespace

TEST(ControlNames, EveryPictureAndTextOfTheMainWindowIsNamed) {
    for (const char* control : {"ima_sunxu", "Imchuji", "Ima_nanti", "Ima_kaoshi", "Ima_cuowuji", "Ima_tiku",
                                "img_lishi", "img_shezhi", "imgzhuozhe", "img5", "img2", "Image1", "Image3", "img3",
                                "img4", "Image4", "Image5", "Image2", "Memo1", "Label4", "ImagIE", "mage1", "lv1",
                                "lv2", "edtchazhao", "mmo1", "img1", "WebBrowser1", "LabelMessage", "lbl1"})
        EXPECT_FALSE(ControlNames::name("TForm1", control).empty()) << control;
    // The same object name in another window is another control.
    EXPECT_EQ("错题列表", ControlNames::name("TForm1", "lv1"));
    EXPECT_EQ("考试历史", ControlNames::name("Tlishidlg", "lv1"));
    EXPECT_EQ("", ControlNames::name("TForm1", "UP")); // its caption names it
    EXPECT_EQ("", ControlNames::name("nowhere", "Memo1"));
    const auto all = ControlNames::names("TForm5");
    EXPECT_EQ(7u, all.size());
}

TEST(ControlNames, OptionsAreTheLinesThatBeginWithTheirLetter) {
    const struct { const char* name; const char* text; int letter; const char* option; } cases[] = {
        {"Chinese comma", "题目\r\nA、80公里/小时\r\nB、100公里/小时", 0, "80公里/小时"},
        {"second option", "题目\r\nA、80公里/小时\r\nB、100公里/小时", 1, "100公里/小时"},
        {"last line without break", "题目\nA、甲\nB、乙", 1, "乙"},
        {"full-width stop", "题目\nA．甲\nB．乙", 0, "甲"},
        {"ASCII stop", "题目\nC.丙", 2, "丙"},
        {"colon", "题目\nD：丁", 3, "丁"},
        {"ASCII colon", "题目\nH:辛", 7, "辛"},
        {"indented", "题目\n  A、甲", 0, "甲"},
        {"no such option", "题目\nA、甲\nB、乙", 2, ""},
        {"letter inside a line", "这是A、B两项", 0, ""},
        {"letter without a separator", "题目\nAB项", 0, ""},
        {"lower case is no option", "题目\na、甲", 0, ""},
        {"empty text", "", 0, ""},
        {"letter out of range", "题目\nA、甲", 8, ""},
        {"negative letter", "题目\nA、甲", -1, ""},
        {"letter alone at the end", "题目\nA", 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.option, ControlNames::optionText(c.text, c.letter)) << c.name;
}

TEST(ControlNames, TheQuestionOnShowIsDescribedWithItsNumberOptionsAndJudgement) {
    QuestionView v;
    v.label2 = "本题ID：12";
    v.label3 = "3/10";
    v.memo1 = "驾驶机动车应当？\r\nA、靠右\r\nB、靠左";
    v.panel = AnswerPanel::Single;
    auto d = asMap(ControlNames::questionDescriptions(v));
    EXPECT_EQ("本题ID：12，第3/10题：驾驶机动车应当？ A、靠右 B、靠左", d["Memo1"]);
    EXPECT_EQ("靠右", d["Image1"]);
    EXPECT_EQ("靠左", d["Image3"]);
    EXPECT_EQ("", d["img3"]);
    EXPECT_EQ("靠右", d["chkA"]);
    EXPECT_EQ("", d["chkH"]);
    EXPECT_EQ("", d["Label4"]); // not answered yet: no judgement
    EXPECT_EQ(1u, d.count("Label4"));

    v.label4Visible = true;
    v.label4 = "你的答案：B\r\n答错了";
    d = asMap(ControlNames::questionDescriptions(v));
    EXPECT_EQ("你的答案：B 答错了", d["Label4"]);
    EXPECT_EQ("你的答案：B 答错了", d["Image2"]);

    QuestionView empty; // an empty list
    d = asMap(ControlNames::questionDescriptions(empty));
    EXPECT_EQ("", d["Memo1"]);
}
