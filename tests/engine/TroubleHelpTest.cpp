// The help every message points to: on the information page, one entry for
// each kind of message, and advice for exported files that fits them.
#include <gtest/gtest.h>

#include <string>

#include "engine/AboutPage.h"
#include "engine/FileMessage.h"
#include "engine/PaperExport.h"
#include "engine/Texts.h"
#include "engine/TroubleHelp.h"
#include "support/TrainerFixture.h"

using namespace cxb;

namespace {

// The entry whose first line begins the message `first`, or null.
const TroubleHelp::Entry* entryFor(const std::string& first) {
    std::size_t n = 0;
    const TroubleHelp::Entry* all = TroubleHelp::entries(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::string line = all[i].firstLine;
        if (const auto dots = line.find("…"); dots != std::string::npos) line.erase(dots);
        if (!line.empty() && first.rfind(line, 0) == 0) return &all[i];
    }
    return nullptr;
}

} // namespace

TEST(TroubleHelp, EveryMessageHasItsEntry) {
    const std::string firsts[] = {texts::kStateMissing,
                                  texts::kCode2,
                                  texts::kCode3,
                                  texts::kBankNotStored,
                                  texts::kSkinError,
                                  texts::kPictureMissing,
                                  PaperExport::kCannotWrite,
                                  "PDF 文件没有保存：/home/a/试卷.pdf",
                                  "无法建立学习文件夹 /home/a/.local/share/chixuebao：没有权限",
                                  "驰学宝已经在这个文件夹中运行，请使用已经打开的窗口。"};
    for (const std::string& first : firsts) {
        const TroubleHelp::Entry* e = entryFor(first);
        ASSERT_NE(e, nullptr) << first;
        EXPECT_GT(std::string(e->when).size(), 10u) << first;
        EXPECT_GT(std::string(e->todo).size(), 10u) << first;
    }
    // "错误," must not be taken for "错误代码:2,": the longer entries come first.
    EXPECT_STREQ(entryFor(texts::kCode2)->firstLine, "错误代码:2,…");
    EXPECT_STREQ(entryFor(texts::kBankNotStored)->firstLine, "错误,…");
}

class TroubleHelpPage : public test::TrainerTest {};

TEST_F(TroubleHelpPage, TheInformationPageCarriesItAndTheMessagesPointThere) {
    start(test::plainBank(10));
    const std::string page = AboutPage::html(s());
    EXPECT_NE(page.find("<h3>遇到问题</h3>"), std::string::npos);
    std::size_t n = 0;
    const TroubleHelp::Entry* all = TroubleHelp::entries(n);
    for (std::size_t i = 0; i < n; ++i) EXPECT_NE(page.find(PaperExport::escape(all[i].firstLine)), std::string::npos);
    // The keys are there too.
    EXPECT_NE(page.find("<h3>按键</h3>"), std::string::npos);

    const std::string support = texts::kSupportLine;
    EXPECT_NE(support.find("“关于”"), std::string::npos);
    EXPECT_NE(support.find("遇到问题"), std::string::npos);
    EXPECT_EQ(support.find("README"), std::string::npos);
    const std::string message = FileMessage::compose("x", "y", FileProblem::NotFound);
    EXPECT_EQ(message.substr(message.rfind('\n') + 1), support);
}

TEST(TroubleHelp, ExportAdviceSpeaksOfPagesNotBanks) {
    const FileProblem all[] = {FileProblem::NotFound, FileProblem::NoPermission, FileProblem::WriteProtected,
                               FileProblem::IsFolder, FileProblem::DiskFull,     FileProblem::Other,
                               FileProblem::NotABank, FileProblem::TooShort,     FileProblem::CountOutOfRange};
    for (FileProblem p : all) {
        const std::string advice = FileMessage::exportAdvice(p);
        EXPECT_FALSE(advice.empty());
        for (const char* word : {"题库", "练习记录", "设置"}) EXPECT_EQ(advice.find(word), std::string::npos) << advice;
        const std::string m = FileMessage::compose(PaperExport::kCannotWrite, "/home/a/卷.htm", p, advice.c_str());
        EXPECT_NE(m.find("文件 /home/a/卷.htm："), std::string::npos) << m;
    }
}
