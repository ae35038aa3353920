// The exported paper pages "h.htm" and "n.htm".
#include "ExamFixture.h"

#include <filesystem>

using namespace cxb;
using namespace cxb::test;

namespace {

void put(char* field, std::size_t width, const std::string& utf8) { writeField(field, width, gbkOf(utf8)); }

// Four questions with known texts, answers and pictures.
Bank paperBank() {
    Bank b;
    b.header.questionCount = 4;
    auto set = [&](int i, int id, int type, int answer, const std::string& text, const std::string& picture) {
        setQuestion(b, i, id, type, answer, text, picture);
    };
    set(1, 11, 1, 2, "驾驶机动车在道路上\r\n应当怎样行驶？", "");
    set(2, 12, 3, 2 | 8 | 16, "以下哪些是\"安全\"做法 & 为什么a<b>c？", "12.jpg");
    set(3, 13, 2, 6, "夜间会车应当关闭远光灯。", " ");
    set(4, 14, 2, 5, "雨天可以高速行驶。", "pics\\雨天.png");
    return b;
}

// A recorded paper of the given ids in slot `slot`.
void record(Sfile& s, int slot, std::initializer_list<int> ids) {
    HistoryEntry& e = s.history[slot];
    e.itemCount = static_cast<int>(ids.size());
    int i = 0;
    for (int id : ids) e.items[++i] = HistoryItem{id, 0, 0, {0, 0, 0}};
    writeField(e.bankTag, "TKxiaoche");
    if (s.historyCount < slot) s.historyCount = slot;
}

const char* const kHead =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
    "<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\n"
    "<title>驰学宝</title>\n"
    "<table width=\"583\" border=\"0\">\n";
const char* const kTail = "\n\n</table>\n\n</body>\n</html>";

std::string row(const std::string& text, const std::string& answer, const std::string& cell) {
    return "\t\t  <tr>\n\t\t\t  <td width=\"370\" height=\"163\">\n\t\t\t  " + text +
           "\n\t\t\t  <p name=\"da\">答案：" + answer + "</p></td>\n<td width=\"197\">" + cell +
           "</td>\t\t\t  </tr>\n";
}

class Export : public ExamRig {
protected:
    std::string page(const char* name) { return dir.read(name); }
};

} // namespace

TEST_F(Export, PagesWithAndWithoutAnswersByteForByte) {
    start(paperBank(), [](Sfile& s) { record(s, 1, {13, 11, 12}); });
    EXPECT_TRUE(t().paper.buildPaperPages(1));
    EXPECT_TRUE(win.messages.empty());

    const std::string text2 = "2,驾驶机动车在道路上<br>应当怎样行驶？";
    const std::string text3 = "3,以下哪些是&quot;安全&quot;做法 &amp; 为什么a&lt;b&gt;c？";
    const std::string picture = "<img src=\"bankdata/12.jpg\"  />";
    std::string withAnswers = std::string(kHead) + row("1,夜间会车应当关闭远光灯。", "对", "") +
                              row(text2, "B", "") + row(text3, "ACD", picture) + kTail;
    std::string without = std::string(kHead) + row("1,夜间会车应当关闭远光灯。", "___", "") +
                          row(text2, "___", "") + row(text3, "___", picture) + kTail;
    EXPECT_EQ(page("h.htm"), gbkOf(withAnswers));
    EXPECT_EQ(page("n.htm"), gbkOf(without));
    // Stored in GBK: the title is the two-byte form.
    EXPECT_NE(page("h.htm").find("<title>\xB3\xDB\xD1\xA7\xB1\xA6</title>"), std::string::npos);
}

TEST_F(Export, PicturePathsOfBuiltInAndExtraBanks) {
    // A built-in bank names its pictures under bankdata, even with a folder.
    start(paperBank(), [](Sfile& s) { record(s, 1, {14}); });
    ASSERT_TRUE(t().paper.buildPaperPages(1));
    EXPECT_EQ(page("h.htm"),
              gbkOf(std::string(kHead) + row("1,雨天可以高速行驶。", "错", "<img src=\"bankdata/pics/雨天.png\"  />") + kTail));

    // An extra bank's picture with a folder is a path of its own.
    st().extraBank = 1;
    ASSERT_TRUE(t().paper.buildPaperPages(1));
    EXPECT_EQ(page("h.htm"),
              gbkOf(std::string(kHead) + row("1,雨天可以高速行驶。", "错", "<img src=\"pics/雨天.png\"  />") + kTail));
}

TEST_F(Export, PictureNamesAreEscaped) {
    Bank b = paperBank();
    put(b.records[1].picture, sizeof b.records[1].picture, "a&b\"c.png");
    start(b, [](Sfile& s) { record(s, 1, {11}); });
    ASSERT_TRUE(t().paper.buildPaperPages(1));
    EXPECT_EQ(page("n.htm"), gbkOf(std::string(kHead) +
                                   row("1,驾驶机动车在道路上<br>应当怎样行驶？", "___",
                                       "<img src=\"bankdata/a&amp;b&quot;c.png\"  />") +
                                   kTail));
}

TEST_F(Export, MissingQuestionGivesAnEmptyRow) {
    start(paperBank(), [](Sfile& s) { record(s, 1, {12, 77}); });
    ASSERT_TRUE(t().paper.buildPaperPages(1));
    EXPECT_EQ(page("h.htm"), gbkOf(std::string(kHead) +
                                   row("1,以下哪些是&quot;安全&quot;做法 &amp; 为什么a&lt;b&gt;c？", "ACD",
                                       "<img src=\"bankdata/12.jpg\"  />") +
                                   row("2,", "", "") + kTail));
}

TEST_F(Export, EmptyPaperGivesAnEmptyTable) {
    start(paperBank(), [](Sfile& s) { record(s, 1, {}); });
    ASSERT_TRUE(t().paper.buildPaperPages(1));
    EXPECT_EQ(page("h.htm"), gbkOf(std::string(kHead) + kTail));
}

TEST_F(Export, ExportingAgainOverwritesBothPages) {
    start(paperBank(), [](Sfile& s) {
        record(s, 1, {11, 12, 13});
        record(s, 2, {14});
    });
    ASSERT_TRUE(t().paper.buildPaperPages(1));
    ASSERT_TRUE(t().paper.buildPaperPages(2));
    EXPECT_EQ(page("h.htm"),
              gbkOf(std::string(kHead) + row("1,雨天可以高速行驶。", "错", "<img src=\"bankdata/pics/雨天.png\"  />") + kTail));
    EXPECT_EQ(page("n.htm"),
              gbkOf(std::string(kHead) + row("1,雨天可以高速行驶。", "___", "<img src=\"bankdata/pics/雨天.png\"  />") + kTail));
}

TEST_F(Export, PageThatCannotBeWrittenIsReportedAndTheOtherStillWritten) {
    start(paperBank(), [](Sfile& s) { record(s, 1, {11}); });
    struct Case {
        const char* blocked;
        const char* written;
    } cases[] = {{"h.htm", "n.htm"}, {"n.htm", "h.htm"}};
    for (const Case& c : cases) {
        test::TempDir fresh;
        win.messages.clear();
        s().folder = fresh.path();
        fresh.mkdir(c.blocked); // a folder where the page should go
        EXPECT_FALSE(t().paper.buildPaperPages(1)) << c.blocked;
        ASSERT_EQ(win.messages.size(), 1u) << c.blocked;
        EXPECT_EQ(win.messages[0].rfind("错误代码5", 0), 0u) << win.messages[0];
        EXPECT_NE(fresh.read(c.written).find(gbkOf("驾驶机动车在道路上")), std::string::npos) << c.written;
    }
}

TEST_F(Export, AWriteProtectedPageIsKeptAndReported) {
    start(paperBank(), [](Sfile& s) { record(s, 1, {11}); });
    for (const char* page : {"h.htm", "n.htm"}) {
        SCOPED_TRACE(page);
        test::TempDir fresh;
        win.messages.clear();
        s().folder = fresh.path();
        fresh.write(page, "a page the learner keeps");
        std::filesystem::permissions(fresh.file(page), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read |
                                                           std::filesystem::perms::others_read);
        EXPECT_FALSE(t().paper.buildPaperPages(1));
        ASSERT_EQ(win.messages.size(), 1u);
        EXPECT_EQ(win.messages[0].rfind("错误代码5", 0), 0u) << win.messages[0];
        EXPECT_EQ(fresh.read(page), "a page the learner keeps");
        const char* other = std::string(page) == "h.htm" ? "n.htm" : "h.htm";
        EXPECT_NE(fresh.read(other).find(gbkOf("驾驶机动车在道路上")), std::string::npos) << other;
    }
}

TEST_F(Export, EntryOutsideTheHistoryWritesNothing) {
    start(paperBank(), [](Sfile& s) { record(s, 1, {11}); });
    EXPECT_FALSE(t().paper.buildPaperPages(2));
    EXPECT_FALSE(t().paper.buildPaperPages(0));
    EXPECT_TRUE(win.messages.empty());
}
