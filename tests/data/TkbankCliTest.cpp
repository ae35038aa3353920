#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::TempDir;
namespace fs = std::filesystem;

namespace {

// Runs tkbank with `args` (already quoted where needed); output goes to
// out.txt and err.txt in `dir`. Returns the exit code.
int tkbank(const TempDir& dir, const std::string& args) {
    std::string cmd = std::string("'") + TKBANK_PATH + "' " + args + " >'" + dir.file("out.txt") + "' 2>'" +
                      dir.file("err.txt") + "'";
    int status = std::system(cmd.c_str());
    if (status == -1 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::string q(const std::string& path) { return "'" + path + "'"; }

std::vector<std::string> folderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const char* kBadSource = R"({"bankAuthor": "x", "questions": [
  {"id": 1, "type": "judge", "text": "a", "answer": "对"},
  {"id": 17, "type": "single", "text": "b", "answer": "E"}
]})";

const char* kGoodSource = R"({"bankAuthor": "驰学宝编写组", "questions": [
  {"id": 1, "type": "judge", "text": "驾驶机动车应当随身携带驾驶证。", "answer": "对"},
  {"id": 2, "type": "single", "text": ["何时开启雾灯？", "A、晴天", "B、雾天", "C、夜间", "D、白天"], "answer": "B"},
  {"id": 3, "type": "multi", "text": ["哪些做法正确？", "A、减速", "B、观察", "C、抢行", "D、让行"], "answer": "ABD"}
]})";

} // namespace

TEST(TkbankCli, HelpOfEveryCommand) {
    TempDir dir;
    for (const char* args : {"--help", "build --help", "dump --help", "check --help"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(tkbank(dir, args), 0);
        EXPECT_NE(dir.read("out.txt").find("usage: tkbank"), std::string::npos) << dir.read("out.txt");
    }
}

TEST(TkbankCli, UsageErrors) {
    TempDir dir;
    for (const char* args : {"", "frobnicate", "build", "build x.json", "dump", "check", "build --bogus a -o b"}) {
        SCOPED_TRACE(args);
        EXPECT_NE(tkbank(dir, args), 0);
        EXPECT_NE(dir.read("err.txt").find("usage"), std::string::npos) << dir.read("err.txt");
    }
}

TEST(TkbankCli, DumpThenBuildGivesTheSameFile) {
    TempDir dir;
    Bank bank = BankGenerator::make(50, 4);
    // Bytes only the exactness fields carry.
    bank.records[0].id = 12345;
    bank.header.reserved[3] = 9;
    std::memcpy(bank.records[7].text + 900, "junk", 4);
    bank.records[8].type = 7;
    ASSERT_EQ(BankFile::store(bank, dir.file("a.tk")), "");

    ASSERT_EQ(tkbank(dir, "dump " + q(dir.file("a.tk")) + " -o " + q(dir.file("a.json"))), 0) << dir.read("err.txt");
    ASSERT_EQ(tkbank(dir, "build " + q(dir.file("a.json")) + " -o " + q(dir.file("b.tk"))), 0) << dir.read("err.txt");
    EXPECT_TRUE(dir.read("a.tk") == dir.read("b.tk"));
}

TEST(TkbankCli, FailedBuildWritesNothing) {
    TempDir dir;
    dir.write("bad.json", kBadSource);
    EXPECT_EQ(tkbank(dir, "build " + q(dir.file("bad.json")) + " -o " + q(dir.file("bad.tk"))), 1);
    std::string err = dir.read("err.txt");
    EXPECT_NE(err.find("bad.json"), std::string::npos) << err;
    EXPECT_NE(err.find("question 17"), std::string::npos) << err;
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"bad.json", "err.txt", "out.txt"}));

    // An older bank of that name stays as it was.
    dir.write("bad.tk", "old bank");
    EXPECT_EQ(tkbank(dir, "build " + q(dir.file("bad.json")) + " -o " + q(dir.file("bad.tk"))), 1);
    EXPECT_EQ(dir.read("bad.tk"), "old bank");

    dir.write("broken.json", "{\"questions\": [");
    EXPECT_EQ(tkbank(dir, "build " + q(dir.file("broken.json")) + " -o " + q(dir.file("broken.tk"))), 1);
    EXPECT_NE(dir.read("err.txt").find("broken.json"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("broken.tk")));
}

TEST(TkbankCli, BuildWritesTheBank) {
    TempDir dir;
    dir.write("good.json", kGoodSource);
    ASSERT_EQ(tkbank(dir, "build " + q(dir.file("good.json")) + " -o " + q(dir.file("good.tk"))), 0)
        << dir.read("err.txt");
    auto bank = BankFile::open(dir.file("good.tk"));
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(bank->questionCount(), 3);
    EXPECT_EQ(bank->records[3].answer, 2 | 4 | 16);
    EXPECT_EQ(fs::file_size(dir.file("good.tk")), BankFile::fileSize(3));
}

TEST(TkbankCli, CheckReportsProblemsWithExitCodeOne) {
    TempDir dir;
    dir.write("good.json", kGoodSource);
    ASSERT_EQ(tkbank(dir, "build " + q(dir.file("good.json")) + " -o " + q(dir.file("good.tk"))), 0);
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("good.tk"))), 0) << dir.read("err.txt");
    EXPECT_NE(dir.read("out.txt").find("3 questions"), std::string::npos) << dir.read("out.txt");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("good.json"))), 0) << dir.read("err.txt");

    struct Case {
        const char* name;
        void (*spoil)(Bank&);
        const char* finding;
    };
    const Case cases[] = {
        {"duplicate ids", [](Bank& b) { b.records[3].id = 1; }, "id already used"},
        {"answer not fitting the type", [](Bank& b) { b.records[1].answer = 1; }, "does not fit"},
        {"text without terminator", [](Bank& b) { std::memset(b.records[2].text, 'x', 1000); }, "no terminator"},
        {"negative counter", [](Bank& b) { b.records[2].wrongCount = -4; }, "negative"},
        {"missing picture", [](Bank& b) { writeField(b.records[2].picture, "pics\\none.png"); }, "none.png"},
    };
    auto good = BankFile::open(dir.file("good.tk"));
    ASSERT_TRUE(good.ok());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bank bank = *good;
        c.spoil(bank);
        ASSERT_EQ(BankFile::store(bank, dir.file("spoilt.tk")), "");
        EXPECT_EQ(tkbank(dir, "check " + q(dir.file("spoilt.tk"))), 1);
        std::string err = dir.read("err.txt");
        EXPECT_NE(err.find(c.finding), std::string::npos) << err;
        EXPECT_NE(err.find("spoilt.tk"), std::string::npos) << err;
    }
}

TEST(TkbankCli, CheckLooksForPicturesBesideTheBankOrInTheGivenFolder) {
    TempDir dir;
    Bank bank = BankGenerator::make(10); // pictures on questions 5 and 10
    ASSERT_EQ(BankFile::store(bank, dir.file("gen.tk")), "");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("gen.tk"))), 1);
    EXPECT_NE(dir.read("err.txt").find("is missing"), std::string::npos) << dir.read("err.txt");

    for (int i : {5, 10}) {
        std::string name(readField(bank.records[static_cast<std::size_t>(i)].picture));
        dir.write("pics/" + name.substr(5), "png");
        dir.write("elsewhere/pics/" + name.substr(5), "png");
    }
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("gen.tk"))), 0) << dir.read("err.txt");

    // The same bank elsewhere, its pictures named by --pictures.
    dir.mkdir("alone");
    ASSERT_EQ(BankFile::store(bank, dir.file("alone/gen.tk")), "");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("alone/gen.tk"))), 1);
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("alone/gen.tk")) + " --pictures " + q(dir.file("elsewhere"))), 0)
        << dir.read("err.txt");
}

TEST(TkbankCli, CheckOfAnUnreadableBankFails) {
    TempDir dir;
    dir.write("short.tk", std::string(100, '\0'));
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("short.tk"))), 1);
    EXPECT_NE(dir.read("err.txt").find("short.tk"), std::string::npos);
    EXPECT_EQ(tkbank(dir, "dump " + q(dir.file("short.tk")) + " -o " + q(dir.file("short.json"))), 1);
    EXPECT_FALSE(fs::exists(dir.file("short.json")));
}
