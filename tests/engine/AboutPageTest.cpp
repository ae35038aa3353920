// The information page: the learner's folder, the banks' law and author,
// and the keys as they are set now.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/FixedField.h"
#include "data/Gbk.h"
#include "engine/AboutPage.h"
#include "engine/BankEdition.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

class About : public TrainerTest {};

bool has(const std::string& page, const std::string& part) { return page.find(part) != std::string::npos; }

} // namespace

TEST_F(About, NamesTheFolderTheBanksAndTheKeys) {
    Bank bank = plainBank(10);
    writeField(bank.header.bankAuthor, *gbk::fromUtf8("张老师"));
    start(bank);
    const std::string page = AboutPage::html(s());
    EXPECT_TRUE(has(page, "<b>" + dir.path() + "</b>")) << page;
    EXPECT_TRUE(has(page, "bankdata/sys.dat"));
    EXPECT_TRUE(has(page, std::to_string(BankEdition::kLawYear) + "年"));
    EXPECT_TRUE(has(page, BankEdition::kAuthor));
    EXPECT_TRUE(has(page, "正在使用：小车，编写：张老师。"));
    // The default keys: the keypad 9, 6, 1, 2, 3, 4.
    for (const char* key : {"上一题：<b>小键盘9</b>（键码 105）", "下一题：<b>小键盘6</b>（键码 102）",
                            "答案A/对：<b>小键盘1</b>（键码 97）", "答案B/错：<b>小键盘2</b>",
                            "答案C：<b>小键盘3</b>", "答案D：<b>小键盘4</b>"})
        EXPECT_TRUE(has(page, key)) << key;

    // Keys set since are shown as they are now.
    s().state->keyNext = 0x22;
    s().state->keyAnswerD = 0x74;
    const std::string later = AboutPage::html(s());
    EXPECT_TRUE(has(later, "下一题：<b>Page Down</b>（键码 34）"));
    EXPECT_TRUE(has(later, "答案D：<b>F5</b>（键码 116）"));
}

TEST_F(About, AFolderNameIsShownAsText) {
    dir.mkdir("R&D <新>");
    const std::string folder = dir.file("R&D <新>");
    Session session(win);
    session.folder = folder;
    const std::string page = AboutPage::html(session);
    EXPECT_TRUE(has(page, "R&amp;D &lt;新&gt;")) << page;
    EXPECT_FALSE(has(page, "正在使用")); // no bank was loaded
}

TEST(AboutFolder, IsAnAbsolutePath) {
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(AboutPage::dataFolder(""), here);
    EXPECT_EQ(AboutPage::dataFolder("."), here);
    EXPECT_EQ(AboutPage::dataFolder("sub/../app/"), here + "/app");
    EXPECT_EQ(AboutPage::dataFolder("/opt/驰学宝"), "/opt/驰学宝");
}
