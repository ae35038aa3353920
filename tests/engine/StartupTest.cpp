// Start-up and close of the main window's engine: the state file, the
// bank, the first list, and the counters written back at close.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;

namespace {

const std::string kCode1 = "错误代码:1,或者请以管理员身份运行；";
const std::string kCode2 = "错误代码:2,或者请以管理员身份运行；";
const std::string kNotStored = "错误,或者请以管理员身份运行；";

// A file-problem message: its first line and a support line after it.
void expectFileMessage(const std::string& first, const std::string& message) {
    EXPECT_EQ(0u, message.find(first + "\n")) << message;
    EXPECT_GT(message.size(), first.size() + 1) << message;
}

class Startup : public TrainerTest {
protected:
    void construct() {
        trainer = std::make_unique<Trainer>(win, dir.path());
        trainer->construct();
    }
    Result<Bank> bankOnDisk(const std::string& name = "bankdata/x.tk") { return BankFile::open(path(name)); }
};

TEST_F(Startup, MissingStateFileIsCreatedAndTheSettingsOpenOnce) {
    dir.mkdir("bankdata");
    construct();
    ASSERT_EQ(2u, win.messages.size());
    expectFileMessage(kCode1, win.messages[0]);
    expectFileMessage(kCode2, win.messages[1]); // no bank path yet
    EXPECT_EQ(sizeof(Sfile), std::filesystem::file_size(path("bankdata/sys.dat")));
    EXPECT_EQ(100, s().modeCode);
    EXPECT_EQ(0, s().bankCount);

    // What the learner sets in the first settings dialog is saved after it.
    win.onSettings = [this] { s().state->beginnerCount = 3; };
    t().formCreate();
    EXPECT_EQ(std::vector<bool>{true}, win.settingsOpened);
    auto saved = StateFile::newRecord();
    StateFile::parse(dir.read("bankdata/sys.dat"), *saved);
    EXPECT_EQ(3, saved->beginnerCount);
    EXPECT_EQ(1000, saved->pauseMs);

    EXPECT_EQ(2u, win.messages.size());
    EXPECT_EQ(1, s().modeCode);
    EXPECT_EQ(0, s().listCount);
    EXPECT_TRUE(s().boxEventsEnabled);
    EXPECT_EQ("驰学宝10.1", win.text[Ctl::lblguanyu]);
    EXPECT_FALSE(win.isVisible(Ctl::ScrollBox2));
    EXPECT_TRUE(win.isVisible(Ctl::pnl2));

    // Nothing was read, so nothing is written.
    t().closeQuery();
    EXPECT_FALSE(std::filesystem::exists(path("bankdata/x.tk")));
    EXPECT_EQ(2u, win.messages.size());
}

TEST_F(Startup, ExistingStateAndBankStartWithABeginnerList) {
    start(plainBank(25), [](Sfile& st) { st.beginnerCount = 7; });
    EXPECT_TRUE(win.messages.empty());
    EXPECT_TRUE(win.settingsOpened.empty());
    EXPECT_EQ(25, s().bankCount);
    EXPECT_EQ(7, s().listCount);
    EXPECT_EQ(1, s().modeCode);
    EXPECT_EQ(1, s().current);
    EXPECT_EQ("1/7", win.lastView().label3);
    EXPECT_EQ("测试题库", win.text[Ctl::lbltikuzhuozhe]);
    EXPECT_EQ(path("bankdata/pics/gen_bank.png"), win.image[Ctl::img2]);
}

TEST_F(Startup, AMissingBankGivesAnEmptyListAndIsNeverWritten) {
    writeFiles(plainBank(5), [](Sfile& st) { writeField(st.bankPath, "bankdata\\没有.tk"); });
    construct();
    ASSERT_EQ(1u, win.messages.size());
    expectFileMessage(kCode2, win.messages[0]);
    t().formCreate();
    EXPECT_EQ(0, s().bankCount);
    EXPECT_EQ(0, s().listCount);
    EXPECT_EQ("0/0", win.lastView().label3);
    t().closeQuery();
    EXPECT_FALSE(std::filesystem::exists(path("bankdata/没有.tk")));
    EXPECT_EQ(1u, win.messages.size());
}

TEST_F(Startup, AnUnreadableBankIsLeftAsItIs) {
    writeFiles(plainBank(5));
    std::string bytes = dir.read("bankdata/x.tk");
    bytes[0] = '\x70'; // a question count far beyond the buffer
    bytes[1] = '\x17';
    dir.write("bankdata/x.tk", bytes);
    construct();
    ASSERT_EQ(1u, win.messages.size());
    expectFileMessage(kCode2, win.messages[0]);
    t().formCreate();
    t().closeQuery();
    EXPECT_EQ(bytes, dir.read("bankdata/x.tk"));
}

TEST_F(Startup, CloseWritesTheCountersAndTheOrderBack) {
    Bank bank = plainBank(10);
    const int ids[] = {7, 3, 10, 1, 9, 2, 8, 4, 6, 5};
    for (int i = 1; i <= 10; ++i) bank.records[i].id = ids[i - 1];
    bank.records[0].id = 4711; // record 0 travels unchanged
    start(bank, [](Sfile& st) { st.beginnerCount = 8; });
    t().modes.SunXuClick();
    answerAt(1, kAnswerA);
    answerAt(2, kAnswerB);
    answerAt(2, kAnswerA);
    t().closeQuery();
    EXPECT_TRUE(win.messages.empty());

    auto stored = bankOnDisk();
    ASSERT_TRUE(stored);
    EXPECT_EQ(BankFile::fileSize(10), std::filesystem::file_size(path("bankdata/x.tk")));
    EXPECT_EQ(4711, stored->records[0].id);
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(i, stored->records[i].id); // sorted by id in memory
    EXPECT_EQ(1, stored->records[1].rightCount);
    EXPECT_EQ(1, stored->records[1].answerCount);
    EXPECT_EQ(0, stored->records[2].rightCount);
    EXPECT_EQ(1, stored->records[2].wrongCount);
    EXPECT_EQ(1, stored->records[2].answerCount);
    EXPECT_EQ(0, stored->records[3].answerCount);

    // The next start reads them: the beginner list now takes the unanswered first.
    win.forget();
    trainer.reset();
    construct();
    t().formCreate();
    EXPECT_EQ(1, recordOf(2).wrongCount);
    ASSERT_EQ(8, s().listCount);
    for (int id : listIds()) EXPECT_GT(id, 2);
}

TEST_F(Startup, CloseWithoutAWritableFolderReportsAndGoesOn) {
    start(plainBank(4));
    answerAt(1, kAnswerA);
    std::filesystem::rename(path("bankdata"), path("moved"));
    t().closeQuery();
    ASSERT_EQ(1u, win.messages.size());
    expectFileMessage(kNotStored, win.messages[0]);
}

} // namespace
