#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/SkinDialog.h"

using namespace cxb;

namespace {
struct SkinFolder {
    test::TempDir dir;
    std::vector<QString> messages;
    SkinFolder() {
        dir.mkdir("bankdata");
        BankFile::store(BankGenerator::make(20), dir.file("bankdata/b.tk"));
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        writeField(state->skinChuji, *gbk::fromUtf8("皮肤\\旧.bmp"));
        StateFile::saveState(*state, dir.file("bankdata/sys.dat"));
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
    }
    ~SkinFolder() { Dialogs::setMessageHandler({}); }
    std::string stateBytes() const { return dir.read("bankdata/sys.dat"); }
};
} // namespace

TEST(SkinDialog, OkStoresAtOnceCancelChangesNothing) {
    SkinFolder f;
    MainWindow w(QString::fromStdString(f.dir.path()));
    {
        SkinDialog d(w);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("皮肤设置"));
        EXPECT_EQ(d.findChild<QLineEdit*>("edtchubulianxi")->text(), QStringLiteral("皮肤\\旧.bmp"));
        for (const char* b : {"btnshunxu", "btnchubulianxi", "btnnantilianxi", "btnkaoshi"})
            EXPECT_TRUE(d.findChild<QPushButton*>(b)->isHidden()) << b;
        std::string before = f.stateBytes();
        d.findChild<QLineEdit*>("edtshunxu")->setText(QStringLiteral("新.bmp"));
        d.Button3Click();
        EXPECT_EQ(f.stateBytes(), before);
        EXPECT_EQ(readField(w.trainer().s.state->skinSunXu), "");
    }
    {
        SkinDialog d(w);
        d.findChild<QLineEdit*>("edtkaoshi")->setText(QStringLiteral("考试.bmp"));
        d.Button2Click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    auto saved = StateFile::newRecord();
    StateFile::parse(f.stateBytes(), *saved);
    EXPECT_EQ(readField(saved->skinKaoshi), *gbk::fromUtf8("考试.bmp"));
    EXPECT_EQ(readField(saved->skinChuji), *gbk::fromUtf8("皮肤\\旧.bmp"));
    w.close();
}

TEST(SkinDialog, RefusesNamesThatDoNotFit) {
    SkinFolder f;
    MainWindow w(QString::fromStdString(f.dir.path()));
    f.messages.clear();
    std::string before = f.stateBytes();
    SkinDialog d(w);
    d.findChild<QLineEdit*>("edtshunxu")->setText(QString(50, QChar(0x6C49))); // 100 GBK bytes
    d.Button2Click();
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].contains(QStringLiteral("太长")));
    EXPECT_EQ(f.stateBytes(), before);
    EXPECT_NE(d.result(), QDialog::Accepted);
    d.findChild<QLineEdit*>("edtshunxu")->setText(QString(49, QChar(0x6C49)) + "a"); // 99 bytes fit
    d.Button2Click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    w.close();
}
