// A state file that cannot be read is never written over: it is moved aside
// and the trainer starts from the starter state; a state file of the wrong
// size keeps a copy; a link to a state file that is not there yet is a
// missing file, made through the link.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/StarterState.h"
#include "support/OrdinaryUser.h"
#include "support/TrainerFixture.h"

using namespace cxb;
using namespace cxb::test;
namespace fs = std::filesystem;

namespace {

class UnreadableState : public TrainerTest {
protected:
    void TearDown() override { StateFile::setReadHook({}); }
    void construct() {
        trainer = std::make_unique<Trainer>(win, dir.path());
        trainer->construct();
    }
    // A state with a history worth keeping.
    std::string precious() {
        writeFiles(plainBank(30), [](Sfile& st) {
            st.historyCount = 42;
            st.examCount = 7;
        });
        return dir.read("bankdata/sys.dat");
    }
    bool startsFromTheStarterState() {
        return readField(s().state->bankPath) == StarterState::kBankPath &&
               s().state->examCount == StarterState::kExamCount && s().state->historyCount == 0;
    }
};

bool contains(const std::vector<std::string>& messages, const std::string& part) {
    for (const auto& m : messages)
        if (m.find(part) != std::string::npos) return true;
    return false;
}

} // namespace

TEST_F(UnreadableState, AFailedReadMovesTheFileAsideAndNoSaveTouchesIt) {
    struct Case {
        const char* what;
        StateFile::ReadHook hook;
    };
    const Case cases[] = {
        {"the first read fails", [](std::size_t) { return false; }},
        {"a read half-way fails", [](std::size_t offset) { return offset == 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir.path() + "/bankdata");
        const std::string old = precious();
        win.forget();
        StateFile::setReadHook(c.hook);
        construct();
        StateFile::setReadHook({});

        EXPECT_EQ(dir.read("bankdata/sys.dat.unreadable"), old);
        EXPECT_TRUE(startsFromTheStarterState());
        // The first word is about the state file; the starter state's car
        // bank is missing from this folder, which the next one says.
        ASSERT_EQ(win.messages.size(), 2u);
        EXPECT_NE(win.messages[0].find("bankdata/sys.dat.unreadable"), std::string::npos) << win.messages[0];
        EXPECT_NE(win.messages[0].find("没有被覆盖"), std::string::npos) << win.messages[0];
        // The starter state is the new state file; later saves go there.
        auto saved = StateFile::newRecord();
        StateFile::parse(dir.read("bankdata/sys.dat"), *saved);
        EXPECT_EQ(saved->examCount, StarterState::kExamCount);
        s().state->examCount = 33;
        EXPECT_TRUE(t().saveState());
        EXPECT_EQ(dir.read("bankdata/sys.dat.unreadable"), old);
    }
}

TEST_F(UnreadableState, ASecondBadStartKeepsTheFirstFileAside) {
    const std::string first = precious();
    StateFile::setReadHook([](std::size_t) { return false; });
    construct();
    const std::string second = dir.read("bankdata/sys.dat");
    construct();
    StateFile::setReadHook({});
    EXPECT_EQ(dir.read("bankdata/sys.dat.unreadable"), first);
    EXPECT_EQ(dir.read("bankdata/sys.dat.unreadable.2"), second);
}

TEST_F(UnreadableState, AFileTheLearnerMayNotReadIsMovedAsideUntouched) {
    OrdinaryUser user;
    if (!user.available()) GTEST_SKIP() << "no ordinary user to run as";
    const std::string old = precious();
    ::chmod(path("bankdata/sys.dat").c_str(), 0200);
    user.own(dir.path());
    user.own(path("bankdata"));
    user.own(path("bankdata/x.tk"));
    // Run by the learner, who may not read it (root reads anything).
    const int result = user.run([&] {
        RigWindow window;
        Trainer learners(window, dir.path());
        learners.construct();
        if (readField(learners.s.state->bankPath) != StarterState::kBankPath) return 1;
        if (window.messages.empty() || window.messages[0].find("sys.dat.unreadable") == std::string::npos)
            return 2;
        return learners.saveState() ? 0 : 3;
    });
    EXPECT_EQ(result, 0);
    ::chmod(path("bankdata/sys.dat.unreadable").c_str(), 0600);
    EXPECT_EQ(dir.read("bankdata/sys.dat.unreadable"), old);
}

TEST_F(UnreadableState, AFileOfTheWrongSizeIsReadAsFarAsItGoesAndCopied) {
    const std::string whole = precious();
    for (std::size_t size : {std::size_t{64}, whole.size() - 1, whole.size() + 100}) {
        SCOPED_TRACE(size);
        for (const auto& e : fs::directory_iterator(path("bankdata")))
            if (e.path().filename() != "x.tk") fs::remove(e.path());
        std::string bytes = whole;
        bytes.resize(size, 'z');
        dir.write("bankdata/sys.dat", bytes);
        win.forget();
        construct();
        EXPECT_EQ(dir.read("bankdata/sys.dat.bak"), bytes);
        EXPECT_EQ(s().state->historyCount, 42);
        EXPECT_TRUE(contains(win.messages, "bankdata/sys.dat.bak"));
    }
}

TEST_F(UnreadableState, ALinkToNoFileIsAMissingStateFileMadeThroughTheLink) {
    dir.mkdir("bankdata");
    dir.mkdir("elsewhere");
    fs::create_symlink(path("elsewhere/state.dat"), path("bankdata/sys.dat"));
    construct();
    EXPECT_TRUE(s().stateCreated);
    ASSERT_EQ(win.messages.size(), 2u);
    EXPECT_EQ(win.messages[0].find("错误代码:1,"), 0u) << win.messages[0];
    EXPECT_TRUE(fs::is_symlink(path("bankdata/sys.dat")));
    EXPECT_EQ(fs::file_size(path("elsewhere/state.dat")), sizeof(Sfile));
    t().formCreate();
    EXPECT_EQ(win.settingsOpened, std::vector<bool>{true});
    EXPECT_TRUE(fs::is_symlink(path("bankdata/sys.dat")));
}
