// Write-protected files in the real window: a protected bank is reported at
// close and the window still closes; a protected state file is reported and
// the program goes on; saving a page over a protected file is refused.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/FileMessage.h"
#include "engine/Texts.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/ExportDialog.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;
namespace fs = std::filesystem;

namespace {

constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

// A runnable folder whose state file holds one recorded paper.
struct Folder {
    test::TempDir dir;
    Folder() {
        dir.mkdir("bankdata");
        Bank bank = BankGenerator::make(30, 5);
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/小车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        state->historyCount = 1;
        HistoryEntry& e = state->history[1];
        e.itemCount = 2;
        e.items[1].questionId = bank.records[1].id;
        e.items[2].questionId = bank.records[2].id;
        writeField(e.bankTag, "TKxiaoche");
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString folder() const { return QString::fromStdString(dir.path()); }
};

struct Seams {
    std::vector<std::string> messages;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m.toStdString()); });
    }
    bool saw(const std::string& m) const { return std::find(messages.begin(), messages.end(), m) != messages.end(); }
    ~Seams() {
        Dialogs::setMessageHandler({});
        Dialogs::setSaveFileHandler({});
        ExportDialog::setShowHandler({});
    }
};

} // namespace

TEST(ProtectedFilesWindow, AProtectedBankIsReportedAtCloseAndTheWindowStillCloses) {
    Folder f;
    Seams seams;
    const std::string bank = f.dir.file("bankdata/小车.tk");
    const std::string before = f.dir.read("bankdata/小车.tk");
    fs::permissions(bank, kReadOnly);
    MainWindow w(f.folder());
    w.show();
    // Closing writes the bank back, answered or not.
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    // The close offers 重试 and 放弃 under the usual advice.
    const std::string advice = std::string(FileMessage::advice(FileProblem::WriteProtected)) + "\n" + texts::kRetryBank;
    EXPECT_TRUE(seams.saw(FileMessage::compose(texts::kBankNotStored, "bankdata/小车.tk", FileProblem::WriteProtected,
                                               advice.c_str())));
    EXPECT_TRUE(f.dir.read("bankdata/小车.tk") == before) << "the protected bank changed";
    EXPECT_EQ(fs::status(bank).permissions() & fs::perms::mask, kReadOnly);
}

TEST(ProtectedFilesWindow, AProtectedStateFileIsReportedAndTheProgramGoesOn) {
    Folder f;
    Seams seams;
    const std::string before = f.dir.read("bankdata/sys.dat");
    fs::permissions(f.dir.file("bankdata/sys.dat"), kReadOnly);
    MainWindow w(f.folder());
    w.show();
    seams.messages.clear();
    w.trainer().s.state->examCount = 7;
    EXPECT_FALSE(w.trainer().saveState());
    EXPECT_EQ(seams.messages, std::vector<std::string>{FileMessage::compose(texts::kCode2, "bankdata/sys.dat",
                                                                            FileProblem::WriteProtected)});
    EXPECT_TRUE(f.dir.read("bankdata/sys.dat") == before) << "the protected state file changed";
    // The program goes on: a new beginner list.
    QTest::mouseClick(w.findChild<PictureButton*>("Imchuji"), Qt::LeftButton);
    EXPECT_GE(w.trainer().s.listCount, 1);
    EXPECT_EQ(w.trainer().s.state->examCount, 7);
    w.close();
}

TEST(ProtectedFilesWindow, SavingAPageOverAProtectedFileIsRefused) {
    Folder f;
    Seams seams;
    f.dir.write("mine.htm", "my own page");
    fs::permissions(f.dir.file("mine.htm"), kReadOnly);
    f.dir.write("free.htm", "old");
    Dialogs::setSaveFileHandler([&](const QString&) { return QString::fromStdString(f.dir.file("mine.htm")); });
    MainWindow w(f.folder());
    bool shown = false;
    ExportDialog::setShowHandler([&](ExportDialog& e) {
        shown = true;
        seams.messages.clear();
        QTest::mouseClick(e.findChild<QPushButton*>("btn1"), Qt::LeftButton);
        ASSERT_EQ(seams.messages.size(), 1u);
        EXPECT_EQ(seams.messages[0].rfind("错误代码5", 0), 0u) << seams.messages[0];
        EXPECT_NE(seams.messages[0].find("写保护"), std::string::npos) << seams.messages[0];
        EXPECT_EQ(f.dir.read("mine.htm"), "my own page");

        // A file that may be written takes the page.
        Dialogs::setSaveFileHandler([&](const QString&) { return QString::fromStdString(f.dir.file("free.htm")); });
        seams.messages.clear();
        QTest::mouseClick(e.findChild<QPushButton*>("btn1"), Qt::LeftButton);
        EXPECT_TRUE(seams.messages.empty());
        EXPECT_EQ(f.dir.read("free.htm"), f.dir.read("h.htm"));
    });
    w.exportDialog().buildPaperPages(1);
    EXPECT_TRUE(shown);
    w.close();
}
