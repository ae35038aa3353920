// The build's way of bringing a rebuilt bank into the runnable folder
// (content/banks.cmake): tkbank builds it beside, checks it, it is renamed
// into the template, and tkupgrade brings the runnable folder's copy up to it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "data/BankFile.h"
#include "data/FixedField.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::string q(const std::string& path) { return "'" + path + "'"; }

int run(const TempDir& dir, const std::string& command) {
    std::string cmd = command + " >" + q(dir.file("out.txt")) + " 2>" + q(dir.file("err.txt"));
    int status = std::system(cmd.c_str());
    if (status == -1 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// The commands banks.cmake gives for one bank.
int rebuild(const TempDir& dir) {
    const std::string shipped = dir.file("template/bankdata/小车.tk");
    return run(dir, q(TKBANK_PATH) + " build " + q(dir.file("car.json")) + " -o " + q(shipped + ".new") + " && " +
                        q(TKBANK_PATH) + " check " + q(shipped + ".new") + " --app-dir " + q(dir.file("app")) +
                        " && mv " + q(shipped + ".new") + " " + q(shipped) + " && " + q(TKUPGRADE_PATH) + " " +
                        q(shipped) + " " + q(dir.file("app/bankdata/小车.tk")));
}

const char* kSource = R"({"bankAuthor": "驰学宝编写组", "questions": [
  {"id": 1, "type": "judge", "text": "驾驶机动车应当随身携带驾驶证。", "answer": "对"},
  {"id": 2, "type": "single", "text": ["何时开启雾灯？", "A、晴天", "B、雾天", "C、夜间", "D、白天"], "answer": "B"},
  {"id": 3, "type": "judge", "text": "夜间会车应当使用远光灯。", "answer": "错"}
]})";

// Question 2 reworded, question 3 gone, question 4 new.
const char* kNextSource = R"({"bankAuthor": "驰学宝编写组", "questions": [
  {"id": 1, "type": "judge", "text": "驾驶机动车应当随身携带驾驶证。", "answer": "对"},
  {"id": 2, "type": "single", "text": ["什么天气开启雾灯？", "A、晴天", "B、雾天", "C、夜间", "D、白天"], "answer": "B"},
  {"id": 4, "type": "judge", "text": "驾驶人应当按照规定使用安全带。", "answer": "对"}
]})";

QuestionRecord& byId(Bank& bank, std::int32_t id) {
    return bank.records[static_cast<std::size_t>(bank.findById(id))];
}

} // namespace

TEST(TkupgradeCli, ARebuildKeepsTheCountersOfTheRunnableFolder) {
    TempDir dir;
    dir.mkdir("template/bankdata");
    dir.mkdir("app/bankdata");
    dir.write("car.json", kSource);
    ASSERT_EQ(rebuild(dir), 0) << dir.read("err.txt");
    EXPECT_EQ(dir.read("app/bankdata/小车.tk"), dir.read("template/bankdata/小车.tk"));

    // The learner practises and takes an exam.
    auto bank = BankFile::open(dir.file("app/bankdata/小车.tk"));
    ASSERT_TRUE(bank.ok());
    for (std::int32_t id : {1, 2, 3}) {
        byId(*bank, id).rightCount = id;
        byId(*bank, id).wrongCount = 10 * id;
        byId(*bank, id).answerCount = 11 * id;
    }
    std::swap(bank->records[1], bank->records[3]); // as a practice sort leaves them
    ASSERT_EQ(BankFile::store(*bank, dir.file("app/bankdata/小车.tk")), "");
    const std::string practised = dir.read("app/bankdata/小车.tk");
    const std::string state = "the settings and exam history";
    dir.write("app/bankdata/sys.dat", state);

    // A pull brings a changed source, and the build runs.
    dir.write("car.json", kNextSource);
    ASSERT_EQ(rebuild(dir), 0) << dir.read("err.txt");
    EXPECT_NE(dir.read("out.txt").find("upgraded"), std::string::npos) << dir.read("out.txt");
    EXPECT_EQ(dir.read("app/bankdata/小车.tk.bak"), practised);
    EXPECT_EQ(dir.read("app/bankdata/sys.dat"), state);
    auto upgraded = BankFile::open(dir.file("app/bankdata/小车.tk"));
    ASSERT_TRUE(upgraded.ok());
    ASSERT_EQ(upgraded->questionCount(), 3);
    EXPECT_EQ(byId(*upgraded, 1).answerCount, 11);
    EXPECT_EQ(byId(*upgraded, 2).answerCount, 22);
    EXPECT_EQ(byId(*upgraded, 2).wrongCount, 20);
    EXPECT_EQ(byId(*upgraded, 4).answerCount, 0);
    EXPECT_EQ(upgraded->findById(3), 0);
    auto text = BankFile::open(dir.file("template/bankdata/小车.tk"));
    EXPECT_EQ(readField(byId(*upgraded, 2).text), readField(byId(*text, 2).text));

    // A rebuild without a change leaves the bytes, and renews the time so
    // that the build sees the bank up to date.
    const std::string after = dir.read("app/bankdata/小车.tk");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(3);
    fs::last_write_time(dir.file("app/bankdata/小车.tk"), old);
    ASSERT_EQ(rebuild(dir), 0) << dir.read("err.txt");
    EXPECT_EQ(dir.read("app/bankdata/小车.tk"), after);
    EXPECT_EQ(dir.read("app/bankdata/小车.tk.bak"), practised);
    EXPECT_GT(fs::last_write_time(dir.file("app/bankdata/小车.tk")), old + std::chrono::hours(2));
}

TEST(TkupgradeCli, UsageAndFailures) {
    TempDir dir;
    EXPECT_EQ(run(dir, q(TKUPGRADE_PATH) + " --help"), 0);
    EXPECT_NE(dir.read("out.txt").find("usage: tkupgrade"), std::string::npos);
    for (const char* args : {"", " a.tk", " a.tk b.tk c.tk"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(run(dir, q(TKUPGRADE_PATH) + args), 2);
        EXPECT_NE(dir.read("err.txt").find("usage: tkupgrade"), std::string::npos);
    }
    dir.write("mine.tk", "the learner's bank");
    dir.write("broken.tk", "not a bank");
    for (const char* shipped : {"missing.tk", "broken.tk"}) {
        SCOPED_TRACE(shipped);
        EXPECT_EQ(run(dir, q(TKUPGRADE_PATH) + " " + q(dir.file(shipped)) + " " + q(dir.file("mine.tk"))), 1);
        EXPECT_NE(dir.read("err.txt").find("tkupgrade: "), std::string::npos);
        EXPECT_EQ(dir.read("mine.tk"), "the learner's bank");
    }
}
