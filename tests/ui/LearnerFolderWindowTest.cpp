// The installed program's way of starting: the learner's own folder made
// from the template, then the window working in it.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "data/BankFile.h"
#include "data/LearnerFolder.h"
#include "engine/Texts.h"
#include "AnswerByHand.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;
namespace fs = std::filesystem;

namespace {

// The installed template: the rendered pictures and skin of the runnable
// folder, the banks and starter state file as built for shipping.
void makeTemplate(const test::TempDir& tpl) {
    tpl.mkdir("bankdata");
    for (const char* part : {"bankdata/pics", "skin", "皮肤.ini"})
        fs::copy(fs::path(CXB_APP_DIR) / part, fs::path(tpl.path()) / part, fs::copy_options::recursive);
    for (const char* mark : {"fileclose.png", "select.png", "gantan.png"})
        fs::copy(fs::path(CXB_APP_DIR) / "bankdata" / mark, fs::path(tpl.path()) / "bankdata" / mark);
    fs::copy(CXB_TEMPLATE_DIR, tpl.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

} // namespace

TEST(LearnerFolderWindow, TheFirstStartWorksInTheNewFolderAndCountsTheAnswerThere) {
    test::TempDir tpl, home;
    makeTemplate(tpl);
    const std::string shippedCar = tpl.read("bankdata/小车.tk");
    const std::string folder = home.file(".local/share/chixuebao");
    auto report = LearnerFolder::prepare(tpl.path(), folder);
    ASSERT_TRUE(report.usable) << report.error;
    ASSERT_TRUE(report.created);

    std::vector<QString> messages;
    Dialogs::setMessageHandler([&](const QString& m) {
        if (m.toStdString().rfind(texts::kSmallScreen, 0) != 0) messages.push_back(m);
    });
    std::int32_t id = 0;
    {
        MainWindow w(QString::fromStdString(folder));
        w.show();
        QApplication::setActiveWindow(&w);
        Session& s = w.trainer().s;
        ASSERT_TRUE(s.bankLoaded);
        ASSERT_GT(s.listCount, 0);
        w.findChild<QCheckBox*>("CheckBox2")->setChecked(false);
        const ListEntry& e = s.entry(s.current);
        id = e.id;
        test::answerRight(w, e);
        EXPECT_EQ(e.userAnswer, e.answer);
        w.close();
    }
    Dialogs::setMessageHandler({});
    for (const QString& m : messages) ADD_FAILURE() << "message box: " << m.toStdString();

    auto shipped = BankFile::parse(shippedCar);
    auto learner = BankFile::open(folder + "/bankdata/小车.tk");
    ASSERT_TRUE(shipped.ok() && learner.ok());
    const QuestionRecord& before = shipped->records[static_cast<std::size_t>(shipped->findById(id))];
    const QuestionRecord& after = learner->records[static_cast<std::size_t>(learner->findById(id))];
    EXPECT_EQ(after.answerCount, before.answerCount + 1);
    EXPECT_EQ(after.rightCount, before.rightCount + 1);
    EXPECT_EQ(tpl.read("bankdata/小车.tk"), shippedCar) << "the template is never written";

    // The next start keeps the learner's counters: the shipped bank has the
    // same questions.
    report = LearnerFolder::prepare(tpl.path(), folder);
    EXPECT_TRUE(report.copied.empty());
    auto kept = BankFile::open(folder + "/bankdata/小车.tk");
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ(kept->records[static_cast<std::size_t>(kept->findById(id))].answerCount, before.answerCount + 1);
}
