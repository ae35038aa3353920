// File messages name the file and the cause: what the trainer says for each
// kind of broken bank and state file, read and written for real.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FileProblem.h"
#include "engine/FileMessage.h"
#include "engine/Texts.h"
#include "support/TrainerFixture.h"

using namespace cxb;
namespace fs = std::filesystem;

namespace {

std::string withCount(std::string bytes, std::int32_t count) {
    std::memcpy(bytes.data(), &count, sizeof count);
    return bytes;
}

} // namespace

TEST(FileMessage, ReadsAsFirstLineFileCauseAdviceAndWhereToReadMore) {
    const std::string m = FileMessage::compose(texts::kCode2, "bankdata/小车.tk", FileProblem::TooShort);
    EXPECT_EQ(m, std::string("错误代码:2,或者请以管理员身份运行；\n") +
                     "文件 bankdata/小车.tk：文件比它的题数所需的短，题库不完整。\n" +
                     "请重新复制或下载这个题库文件。\n" + "如问题持续，请点工具栏上“设置”右边的“关于”按钮（i），看其中的“遇到问题”一节。");
    // Every cause has its own words and advice.
    const FileProblem all[] = {FileProblem::NotFound,     FileProblem::NoPermission,    FileProblem::WriteProtected,
                               FileProblem::IsFolder,     FileProblem::NotABank,        FileProblem::CountOutOfRange,
                               FileProblem::TooShort,     FileProblem::DiskFull,        FileProblem::Other};
    std::set<std::string> causes;
    for (FileProblem p : all) {
        causes.insert(FileMessage::cause(p));
        EXPECT_FALSE(std::string(FileMessage::advice(p)).empty());
    }
    EXPECT_EQ(causes.size(), std::size(all));
    EXPECT_EQ(FileMessage::shownName("/home/a/app", "/home/a/app/bankdata/sys.dat"), "bankdata/sys.dat");
    EXPECT_EQ(FileMessage::shownName("/home/a/app", "/home/a/apple/x.tk"), "/home/a/apple/x.tk");
    EXPECT_EQ(FileMessage::shownName("", "bankdata/x.tk"), "bankdata/x.tk");
}

TEST(FileMessage, EachBrokenBankIsToldByItsCause) {
    test::TempDir dir;
    const std::string good = BankFile::serialize(BankGenerator::make(30));
    struct Case {
        const char* name;
        std::string bytes; // "" with folder: a folder in its place
        bool folder;
        FileProblem problem;
    } cases[] = {
        {"short.tk", good.substr(0, good.size() - 1), false, FileProblem::TooShort},
        {"huge.tk", withCount(good, 2000), false, FileProblem::CountOutOfRange},
        {"negative.tk", withCount(good, -1), false, FileProblem::CountOutOfRange},
        {"text.tk", "这不是题库", false, FileProblem::NotABank},
        {"empty.tk", "", false, FileProblem::NotABank},
        {"folder.tk", "", true, FileProblem::IsFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.folder)
            dir.mkdir(c.name);
        else
            dir.write(c.name, c.bytes);
        EXPECT_FALSE(BankFile::open(dir.file(c.name)));
        EXPECT_EQ(bankReadProblem(dir.file(c.name)), c.problem);
    }
    EXPECT_EQ(bankReadProblem(dir.file("missing.tk")), FileProblem::NotFound);
    EXPECT_EQ(bankReadProblem(dir.file("no/such/folder.tk")), FileProblem::NotFound);
}

class FileMessageTrainer : public test::TrainerTest {};

TEST_F(FileMessageTrainer, ABankThatCannotBeReadIsNamedWithItsCause) {
    writeFiles(test::plainBank(20));
    const std::string bank = BankFile::serialize(test::plainBank(20));
    dir.write("bankdata/x.tk", bank.substr(0, bank.size() - 100));
    trainer = std::make_unique<Trainer>(win, dir.path());
    trainer->construct();
    EXPECT_EQ(win.messages, std::vector<std::string>{FileMessage::compose(texts::kCode2, "bankdata/x.tk",
                                                                          FileProblem::TooShort)});
    EXPECT_FALSE(s().bankLoaded);
}

TEST_F(FileMessageTrainer, AMissingStateFileIsMadeAndSaysSo) {
    writeFiles(test::plainBank(20));
    fs::remove(path("bankdata/sys.dat"));
    trainer = std::make_unique<Trainer>(win, dir.path());
    trainer->construct();
    ASSERT_FALSE(win.messages.empty());
    EXPECT_EQ(win.messages[0], FileMessage::compose(texts::kStateMissing, "bankdata/sys.dat", FileProblem::NotFound,
                                                    texts::kStateMade));
}
