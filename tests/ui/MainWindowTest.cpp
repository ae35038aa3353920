#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "AnswerByHand.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;

namespace {

// A runnable folder with a generated bank chosen in its state file.
struct Folder {
    test::TempDir dir;
    Bank bank;
    explicit Folder(int questions, int beginnerCount = 10) : bank(BankGenerator::make(questions, 7)) {
        dir.mkdir("bankdata");
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/小车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        state->beginnerCount = beginnerCount;
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    Bank stored() const { return std::move(*BankFile::open(dir.file("bankdata/小车.tk"))); }
};

struct Messages {
    std::vector<QString> seen;
    Messages() { Dialogs::setMessageHandler([this](const QString& m) { seen.push_back(m); }); }
    ~Messages() { Dialogs::setMessageHandler({}); }
};

QString text(QWidget& w, const char* name) {
    if (auto* l = w.findChild<QLabel*>(name)) return l->text();
    if (auto* e = w.findChild<QPlainTextEdit*>(name)) return e->toPlainText();
    return QString();
}

int counterSum(const Bank& b, int QuestionRecord::*field) {
    int sum = 0;
    for (int i = 1; i <= b.questionCount(); ++i) sum += b.records[static_cast<std::size_t>(i)].*field;
    return sum;
}

} // namespace

TEST(MainWindow, StartsWithABeginnerListAndNamedControls) {
    Folder f(40);
    Messages messages;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("初步练习     驰学宝10.1"));
    EXPECT_EQ(w.trainer().s.modeCode, 1);
    EXPECT_EQ(w.trainer().s.listCount, 10);
    EXPECT_EQ(text(w, "Label3"), "1/10");
    EXPECT_TRUE(text(w, "Label2").startsWith(QStringLiteral("本题ID：")));
    EXPECT_FALSE(text(w, "Memo1").isEmpty());
    for (const char* name : {"pnl2", "pnl3", "Memo1", "ScrollBox1", "mage1", "UP", "DO", "Button2", "CheckBox1",
                             "CheckBox2", "BitBtn9", "ima_sunxu", "Imchuji", "Ima_nanti", "Ima_kaoshi", "Ima_cuowuji",
                             "Ima_tiku", "img_lishi", "img_shezhi", "imgzhuozhe", "img5", "Pifu", "lblguanyu",
                             "JIAOJUAN", "pnl1", "souPNL", "Panel2", "pnlIE", "lv1", "lv2", "edtchazhao"})
        EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(w.findChild<QPushButton*>("UP")->text(), QStringLiteral("上一题"));
    EXPECT_EQ(w.findChild<QPushButton*>("DO")->text(), QStringLiteral("下一题"));
    EXPECT_EQ(w.findChild<QPushButton*>("Button2")->text(), QStringLiteral("重新出题"));
    EXPECT_EQ(w.findChild<QCheckBox*>("CheckBox1")->text(), QStringLiteral("是否显示答案"));
    EXPECT_EQ(w.findChild<QCheckBox*>("CheckBox2")->text(), QStringLiteral("自动进入下一题"));
    EXPECT_EQ(text(w, "lblguanyu"), QStringLiteral("驰学宝10.1"));
    w.close();
}

TEST(MainWindow, AnswersByKeysAndClicksAndStoresCountersOnClose) {
    Folder f(30);
    Messages messages;
    {
        MainWindow w(QString::fromStdString(f.dir.path()));
        w.show();
        QApplication::setActiveWindow(&w);
        Session& s = w.trainer().s;
        w.findChild<QCheckBox*>("CheckBox2")->setChecked(false); // no automatic move in this test
        int answered = 0;
        for (int i = 1; i <= s.listCount; ++i) {
            ListEntry& e = s.entry(s.current);
            test::answerRight(w, e);
            ++answered;
            EXPECT_EQ(e.userAnswer, e.answer) << "entry " << s.current;
            if (i < s.listCount) QTest::keyClick(&w, Qt::Key_Down);
        }
        EXPECT_EQ(answered, 10);
        EXPECT_TRUE(text(w, "Label4").startsWith(QStringLiteral("你的答案:")));
        EXPECT_TRUE(text(w, "Label5").startsWith(QStringLiteral("你的分数是:")));
        EXPECT_TRUE(text(w, "Label6").contains(QStringLiteral("(100%)")));
        QTest::keyClick(&w, Qt::Key_Up);
        EXPECT_EQ(text(w, "Label3"), "9/10");
        w.close();
    }
    Bank after = f.stored();
    EXPECT_EQ(counterSum(after, &QuestionRecord::answerCount), 10);
    EXPECT_EQ(counterSum(after, &QuestionRecord::rightCount), 10);
    EXPECT_EQ(counterSum(after, &QuestionRecord::wrongCount), 0);
    EXPECT_EQ(BankFile::serialize(after).size(), BankFile::fileSize(30));
}

TEST(MainWindow, LettersTypedInTheSearchBoxDoNotAnswer) {
    Folder f(20);
    Messages messages;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QApplication::setActiveWindow(&w);
    QTest::mouseClick(w.findChild<PictureButton*>("Ima_tiku"), Qt::LeftButton);
    auto* edit = w.findChild<QLineEdit*>("edtchazhao");
    ASSERT_TRUE(edit->isVisible());
    edit->setFocus();
    QTest::keyClicks(edit, "ABCD");
    EXPECT_EQ(edit->text(), "ABCD");
    for (int i = 1; i <= w.trainer().s.listCount; ++i) EXPECT_EQ(w.trainer().s.entry(i).userAnswer, 0);
    w.close();
}

TEST(MainWindow, PickerToggleAndModes) {
    Folder f(60);
    Messages messages;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    auto* toggle = w.findChild<QPushButton*>("BitBtn9");
    // The test screen has room for the design: the window starts whole and
    // says nothing (the small screens are ScreenFit's and ScaledLayout's).
    EXPECT_EQ(w.size(), QSize(MainWindow::kDesignWidth, MainWindow::kDesignHeight));
    EXPECT_EQ(toggle->text(), QStringLiteral("隐藏选题区"));
    for (const QString& m : messages.seen) EXPECT_FALSE(m.startsWith(QStringLiteral("我发现您的显示分辨率太小了")));
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(w.height(), MainWindow::kShortHeight);
    EXPECT_EQ(toggle->text(), QStringLiteral("显示选题区"));
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(w.height(), 785);
    EXPECT_EQ(toggle->text(), QStringLiteral("隐藏选题区"));

    QTest::mouseClick(w.findChild<PictureButton*>("ima_sunxu"), Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("顺序练习        驰学宝10.1"));
    EXPECT_EQ(w.trainer().s.listCount, 60);
    EXPECT_EQ(text(w, "Label3"), "1/60");
    QTest::mouseClick(w.findChild<PictureButton*>("Ima_nanti"), Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("100题考试练习     驰学宝10.1"));
    EXPECT_EQ(w.trainer().s.modeCode, 2);
    w.close();
}

TEST(MainWindow, LabelPictureIsReadOnceForTheSameFile) {
    Folder f(20);
    Messages m;
    QImage red(10, 10, QImage::Format_RGB32), blue(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    ASSERT_TRUE(red.save(QString::fromStdString(f.dir.file("red.png"))));
    ASSERT_TRUE(blue.save(QString::fromStdString(f.dir.file("blue.png"))));
    MainWindow w(QString::fromStdString(f.dir.path()));
    auto* mark = w.findChild<QLabel*>("Image2");
    m.seen.clear(); // this folder has no skin pictures
    auto colour = [mark] { return mark->pixmap().toImage().pixelColor(mark->width() / 2, mark->height() / 2); };

    w.adapter().setImage(Ctl::Image2, f.dir.file("red.png"));
    EXPECT_EQ(colour(), QColor(Qt::red));
    // Shown again with every question: the label keeps what it shows, even
    // with the file gone since.
    std::filesystem::remove(f.dir.file("red.png"));
    w.adapter().setImage(Ctl::Image2, f.dir.file("red.png"));
    EXPECT_EQ(colour(), QColor(Qt::red));
    EXPECT_TRUE(m.seen.empty());
    // Another file is read; a missing one clears the label and is reported.
    w.adapter().setImage(Ctl::Image2, f.dir.file("blue.png"));
    EXPECT_EQ(colour(), QColor(Qt::blue));
    w.adapter().setImage(Ctl::Image2, f.dir.file("red.png"));
    EXPECT_TRUE(mark->pixmap().isNull());
    EXPECT_EQ(m.seen.size(), 1u);
}
