// The starter state file the build puts into the runnable folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/SettingsModel.h"
#include "support/TempDir.h"

using namespace cxb;

namespace {

int startstate(const std::string& file) {
    std::string cmd = std::string("'") + STARTSTATE_PATH + "' '" + file + "' >/dev/null";
    int status = std::system(cmd.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(StarterState, HoldsTheCarBankAFullExamAndReadableColours) {
    test::TempDir dir;
    const std::string file = dir.file("sys.dat");
    ASSERT_EQ(0, startstate(file));
    auto bytes = readFileBytes(file);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 2472784u);

    auto state = StateFile::newRecord();
    auto report = StateFile::loadState(*state, file);
    EXPECT_FALSE(report.created);
    EXPECT_EQ(state->bankChoice, 1);
    EXPECT_EQ(gbk::toUtf8Lossy(readField(state->bankPath)), "bankdata\\小车.tk");
    EXPECT_EQ(state->examCount, 100);
    EXPECT_EQ(state->examSeconds, 2700);
    EXPECT_EQ(state->backColor, SettingsModel::kSuggestedBack);
    EXPECT_EQ(state->textColor, SettingsModel::kSuggestedText);
    EXPECT_EQ(state->historyCount, 0);
    EXPECT_EQ(state->extraBank, 0);

    // Everything else as a new state file has it.
    auto defaults = StateFile::newRecord();
    StateFile::resetState(*defaults);
    EXPECT_EQ(state->beginnerCount, defaults->beginnerCount);
    EXPECT_EQ(state->hardCount, defaults->hardCount);
    EXPECT_EQ(state->pauseMs, defaults->pauseMs);
    EXPECT_EQ(state->keyNext, defaults->keyNext);
}

TEST(StarterState, NeverReplacesAStateFileThatIsThere) {
    test::TempDir dir;
    const std::string file = dir.file("sys.dat");
    ASSERT_EQ(0, startstate(file));
    // The learner's own settings and history...
    auto state = StateFile::newRecord();
    StateFile::loadState(*state, file);
    state->examCount = 37;
    state->historyCount = 4;
    ASSERT_EQ(0, StateFile::saveState(*state, file));
    const std::string before = *readFileBytes(file);
    // ...stay through a second build.
    ASSERT_EQ(0, startstate(file));
    EXPECT_EQ(*readFileBytes(file), before);
    // Anything at that name is left alone, even what is not a state file.
    dir.write("other.dat", "x");
    ASSERT_EQ(0, startstate(dir.file("other.dat")));
    EXPECT_EQ(dir.read("other.dat"), "x");
}
