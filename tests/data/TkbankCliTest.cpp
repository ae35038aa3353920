#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "data/BankFile.h"
#include "data/QuestionFiling.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "support/OrdinaryUser.h"
#include "support/TempDir.h"

using namespace cxb;
using cxb::test::OrdinaryUser;
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
        {"missing bank picture", [](Bank& b) { writeField(b.header.bankPicture, "bankdata\\gone.png"); }, "gone.png"},
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

// A bank in a program folder's bankdata: its pictures are sought under that
// bankdata, its own picture from the program folder. Elsewhere --app-dir
// names the program folder; --extra-bank takes names with a folder from the
// program folder itself.
TEST(TkbankCli, CheckFindsPicturesAsTheTrainerDoes) {
    TempDir dir;
    Bank bank = BankGenerator::make(10); // pictures on questions 5 and 10; bankPicture bankdata\pics\gen_bank.png
    dir.mkdir("app/bankdata");
    ASSERT_EQ(BankFile::store(bank, dir.file("app/bankdata/gen.tk")), "");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("app/bankdata/gen.tk"))), 1);
    std::string err = dir.read("err.txt");
    EXPECT_NE(err.find(dir.file("app/bankdata/pics/gen_bank.png") + " is missing"), std::string::npos) << err;
    EXPECT_NE(err.find(dir.file("app/bankdata/pics/gen_")), std::string::npos) << err;

    std::vector<std::string> pictures = {"pics/gen_bank.png"};
    for (int i : {5, 10}) {
        std::string name(readField(bank.records[static_cast<std::size_t>(i)].picture));
        pictures.push_back("pics/" + name.substr(5));
    }
    for (const auto& p : pictures) dir.write("app/bankdata/" + p, "png");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("app/bankdata/gen.tk"))), 0) << dir.read("err.txt");

    // The same bank outside the program folder: found with --app-dir only.
    dir.mkdir("alone");
    ASSERT_EQ(BankFile::store(bank, dir.file("alone/gen.tk")), "");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("alone/gen.tk"))), 1);
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("alone/gen.tk")) + " --app-dir " + q(dir.file("app"))), 0)
        << dir.read("err.txt");

    // As an extra bank beside the program, "pics\..." is a path of its own.
    ASSERT_EQ(BankFile::store(bank, dir.file("app/extra.tk")), "");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("app/extra.tk")) + " --extra-bank"), 1);
    err = dir.read("err.txt");
    EXPECT_NE(err.find(dir.file("app/pics/gen_")), std::string::npos) << err;
    EXPECT_EQ(err.find("bankPicture"), std::string::npos) << err; // the bank's own picture is there
    for (int i : {5, 10}) dir.write("app/" + pictures[static_cast<std::size_t>(i / 5)], "png");
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("app/extra.tk")) + " --extra-bank"), 0) << dir.read("err.txt");

    // A source is checked against the folder it is given.
    dir.write("src.json", kGoodSource);
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("src.json")) + " --app-dir " + q(dir.file("app"))), 0)
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

TEST(TkbankCli, BuildRefusesWhatWouldLoseContent) {
    struct Case {
        const char* name;
        const char* source;
        std::vector<std::string> needles;
    };
    const Case cases[] = {
        {"typo in a question", R"({"questions": [{"id": 4, "type": "judge", "text": "a", "answer": "对", "explanaton": "b"}]})",
         {"src.json", "question 4", "explanaton"}},
        {"typo in the header", R"({"bankPictrue": "a.png", "questions": []})", {"src.json", "bankPictrue"}},
        {"two questions with one id", R"({"questions": [{"id": 4, "type": "judge", "text": "a", "answer": "对"},
                                          {"id": 4, "type": "judge", "text": "b", "answer": "错"}]})",
         {"src.json", "question 4", "already used"}},
        {"a number where text belongs", R"({"questions": [{"type": "judge", "text": 12, "answer": "对", "id": 9}]})",
         {"src.json", "question 9", "text must be a text"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write("src.json", c.source);
        dir.write("out.tk", "old bank");
        EXPECT_EQ(tkbank(dir, "build " + q(dir.file("src.json")) + " -o " + q(dir.file("out.tk"))), 1);
        std::string err = dir.read("err.txt");
        for (const auto& needle : c.needles) EXPECT_NE(err.find(needle), std::string::npos) << needle << " in " << err;
        EXPECT_EQ(dir.read("out.tk"), "old bank");
        // check refuses the same source.
        EXPECT_EQ(tkbank(dir, "check " + q(dir.file("src.json"))), 1);
    }
}

TEST(TkbankCli, BytesAfterTheLastRecordSurviveDumpAndBuild) {
    TempDir dir;
    std::string image = BankFile::serialize(BankGenerator::make(5, 2)) + std::string("\0tail\xFF", 6);
    dir.write("a.tk", image);
    ASSERT_EQ(tkbank(dir, "dump " + q(dir.file("a.tk")) + " -o " + q(dir.file("a.json"))), 0) << dir.read("err.txt");
    EXPECT_NE(dir.read("a.json").find("\"afterRecords\": \"007461696cff\""), std::string::npos) << dir.read("a.json");
    ASSERT_EQ(tkbank(dir, "build " + q(dir.file("a.json")) + " -o " + q(dir.file("b.tk"))), 0) << dir.read("err.txt");
    EXPECT_TRUE(dir.read("b.tk") == image);
    EXPECT_EQ(tkbank(dir, "check " + q(dir.file("a.json"))), 0) << dir.read("err.txt");
}

// The output of build and dump is saved like every file of the program: a
// write-protected file is never replaced, a link is written through.
TEST(TkbankCli, AWriteProtectedOutputIsNeverReplaced) {
    OrdinaryUser user;
    for (const char* command : {"build", "dump"}) {
        for (bool asUser : {false, true}) {
            if (asUser && !user.available()) continue;
            SCOPED_TRACE(std::string(command) + (asUser ? " as an ordinary user" : " as this user"));
            TempDir dir;
            fs::permissions(dir.path(), fs::perms::all);
            dir.write("good.json", kGoodSource);
            ASSERT_EQ(tkbank(dir, "build " + q(dir.file("good.json")) + " -o " + q(dir.file("good.tk"))), 0);
            const std::string input = std::string(command) == "build" ? "good.json" : "good.tk";
            dir.write("out", "protected");
            dir.write("err.txt", "");
            dir.write("out.txt", "");
            for (const char* f : {"out", "err.txt", "out.txt"}) user.own(dir.file(f));
            fs::permissions(dir.file("out"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            const std::string args = std::string(command) + " " + q(dir.file(input)) + " -o " + q(dir.file("out"));
            int code = asUser ? user.run([&] { return ::access(TKBANK_PATH, X_OK) == 0 ? tkbank(dir, args) : 77; })
                              : tkbank(dir, args);
            if (code == 77) continue; // that user cannot reach the tool here
            EXPECT_EQ(code, 1);
            std::string err = dir.read("err.txt");
            EXPECT_NE(err.find(dir.file("out")), std::string::npos) << err;
            EXPECT_NE(err.find("write-protected"), std::string::npos) << err;
            EXPECT_EQ(dir.read("out"), "protected");
            EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"err.txt", "good.json", "good.tk", "out", "out.txt"}));
        }
    }
}

TEST(TkbankCli, AnOutputLinkStaysALink) {
    TempDir dir, elsewhere;
    dir.write("good.json", kGoodSource);
    elsewhere.write("real.tk", "old bank");
    fs::create_symlink(elsewhere.file("real.tk"), dir.file("bank.tk"));
    ASSERT_EQ(tkbank(dir, "build " + q(dir.file("good.json")) + " -o " + q(dir.file("bank.tk"))), 0) << dir.read("err.txt");
    EXPECT_TRUE(fs::is_symlink(dir.file("bank.tk")));
    auto bank = BankFile::open(elsewhere.file("real.tk"));
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(bank->questionCount(), 3);
    EXPECT_EQ(folderEntries(elsewhere.path()), std::vector<std::string>{"real.tk"});
}

// The shipped banks are built with --shipped: an unfiled question stops the
// build; the same source without the option (a bank from elsewhere) builds.
TEST(TkbankCli, ShippedBuildRefusesAnUnfiledQuestion) {
    TempDir dir;
    dir.write("src.json", R"({"questions": [
        {"id": 1, "type": "judge", "chapter": "道路交通信号", "topic": "标志", "text": "a", "answer": "对"},
        {"id": 2, "type": "judge", "text": "b", "answer": "错"}]})");
    dir.write("out.tk", "old bank");
    EXPECT_EQ(tkbank(dir, "build " + q(dir.file("src.json")) + " -o " + q(dir.file("out.tk")) + " --shipped"), 1);
    EXPECT_NE(dir.read("err.txt").find("question 2"), std::string::npos) << dir.read("err.txt");
    EXPECT_EQ(dir.read("out.tk"), "old bank");
    EXPECT_EQ(tkbank(dir, "build " + q(dir.file("src.json")) + " -o " + q(dir.file("out.tk"))), 0) << dir.read("err.txt");
    auto bank = BankFile::open(dir.file("out.tk"));
    ASSERT_TRUE(bank.ok()) << bank.error();
    EXPECT_EQ(QuestionFiling::stored(bank->records[1]).topic, QuestionFiling::topicIndex("标志"));
    EXPECT_FALSE(QuestionFiling::stored(bank->records[2]).filed());
}
