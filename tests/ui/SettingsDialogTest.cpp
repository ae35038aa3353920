#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/FileMessage.h"
#include "engine/Texts.h"
#include "support/TempDir.h"
#include "ui/ColorMap.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/SettingsDialog.h"

using namespace cxb;

static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QString kHint = QStringLiteral("请选择题库！然后确定。");

// A program folder with the car bank chosen in its state file.
struct Program {
    test::TempDir dir;
    explicit Program(int bankChoice = 1, const std::string& bankPathUtf8 = "bankdata\\小车.tk") {
        dir.mkdir("bankdata");
        EXPECT_EQ(BankFile::store(BankGenerator::make(40, 5), dir.file("bankdata/小车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        state->bankChoice = bankChoice;
        state->examCount = 100;
        writeField(state->bankPath, *gbk::fromUtf8(bankPathUtf8));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString folder() const { return QString::fromStdString(dir.path()); }
    std::string stateFile() const { return dir.read("bankdata/sys.dat"); }
};

std::string bytesOf(const Sfile& s) { return std::string(reinterpret_cast<const char*>(&s), sizeof(Sfile)); }

std::int32_t intAt(const std::string& bytes, std::size_t offset) {
    return readInt32(reinterpret_cast<const unsigned char*>(bytes.data() + offset));
}

// Records the message boxes and answers the seams; undoes them at the end.
// The test folders hold no skin pictures and the offscreen screen is small,
// so the window's reports of those are left out of `messages`.
struct Seams {
    std::vector<QString> messages;
    std::vector<QColor> colourDialogOpenedWith;
    std::vector<std::optional<QColor>> colourAnswers;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) {
            if (m.startsWith(QStringLiteral("无法加载图片：")) || m.startsWith(QString::fromUtf8(texts::kSmallScreen))) return;
            messages.push_back(m);
        });
        SettingsDialog::setColourHandler([this](const QColor& initial) -> std::optional<QColor> {
            colourDialogOpenedWith.push_back(initial);
            if (colourAnswers.empty()) return std::nullopt;
            auto answer = colourAnswers.front();
            colourAnswers.erase(colourAnswers.begin());
            return answer;
        });
    }
    ~Seams() {
        Dialogs::setMessageHandler({});
        SettingsDialog::setColourHandler({});
        SettingsDialog::setRunHandler({});
    }
};

template <typename T>
T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void setField(QWidget& d, const char* name, const QString& text) {
    QLineEdit* e = child<QLineEdit>(d, name);
    e->clear();
    QTest::keyClicks(e, text);
}

// Lets the window system expose and paint a freshly shown window.
void settle(QWidget& w) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}


} // namespace

TEST(SettingsDialog, HasTheControlsWithTheirCaptions) {
    Program p;
    Seams seams;
    // The bus bank at its promised size, the truck bank missing: the
    // captions name what the files hold.
    EXPECT_EQ(BankFile::store(BankGenerator::make(782, 5), p.dir.file("bankdata/客车.tk")), "");
    MainWindow w(p.folder());
    SettingsDialog d(w);
    EXPECT_EQ(d.objectName(), "TForm6");
    EXPECT_EQ(d.windowTitle(), QStringLiteral("设置 2026年题库"));
    EXPECT_EQ(d.size(), QSize(708, 672)); // the design's 623 and the two review groups
    EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    const std::pair<const char*, QString> radios[] = {
        {"rbXiao", QStringLiteral("小车类：40题 (准驾车型：C1、C2、C3、C4、C5)")},
        {"rbKe", QStringLiteral("客车类：782题(准驾车型：A1、A3、B1、N、P)")},
        {"rbHuo", QStringLiteral("货车类：未找到题库文件(准驾车型：A2、B2)")},
        {"waijia", QStringLiteral("外加题库:")},
    };
    for (const auto& [name, caption] : radios) EXPECT_EQ(child<QRadioButton>(d, name)->text(), caption);
    const std::pair<const char*, QString> buttons[] = {
        {"Button1", QStringLiteral("确定")}, {"Button2", QStringLiteral("取消")}, {"btn1", QStringLiteral("使用建议颜色")}};
    for (const auto& [name, caption] : buttons) EXPECT_EQ(child<QPushButton>(d, name)->text(), caption);
    EXPECT_TRUE(child<QPushButton>(d, "Button1")->isDefault());
    EXPECT_TRUE(child<QComboBox>(d, "tiku_te")->isEditable());

    QStringList groups;
    for (auto* g : d.findChildren<QGroupBox*>()) groups << g->title();
    for (const char* title : {"题库选择", "出题个数设置", "时间设置", "按键设置", "颜色设置"})
        EXPECT_TRUE(groups.contains(QString::fromUtf8(title))) << title;
    QStringList labels;
    for (auto* l : d.findChildren<QLabel*>()) labels << l->text();
    for (const char* text : {"点击文字设置颜色：", "背景色", "字体色", "初步练习出题个数：", "难题练习出题个数：",
                             "考试题数：", "上一题：", "下一题：", "答案A/对：", "答案B/错：", "答案C：", "答案D:",
                             "难题灵敏度（0~10）：\n\n0表示，只要是错过的选择\n10表示，选择错误较多的",
                             "答题后停顿时间:\n(单位是:毫秒,1000毫秒=1秒)", "考试时间：\n(单位:秒)"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;

    for (const char* name : {"edt1", "edt2", "edt3", "edt4", "edt5", "edt6", "edtlblbeijing", "edtlblzhiti"})
        EXPECT_TRUE(child<QLineEdit>(d, name)->isReadOnly()) << name;
}

TEST(SettingsDialog, OpensWithTheStoredSettings) {
    Program p;
    p.dir.write("乙.tk", "x");
    p.dir.write("甲.tk", "x");
    Seams seams;
    MainWindow w(p.folder());
    SettingsDialog d(w);
    EXPECT_TRUE(child<QRadioButton>(d, "rbXiao")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(d, "waijia")->isChecked());
    QComboBox* combo = child<QComboBox>(d, "tiku_te");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->currentText(), ""); // a built-in bank shows no extra name
    const std::pair<const char*, const char*> shown[] = {
        {"chuji", "10"}, {"nanti", "10"}, {"nantixishu", "2"}, {"edtkaoshitishu", "100"}, {"edt7", "1000"},
        {"edt8", "2700"}, {"edt1", "105"}, {"edt2", "102"}, {"edt3", "97"}, {"edt4", "98"}, {"edt5", "99"},
        {"edt6", "100"}};
    for (const auto& [name, text] : shown) EXPECT_EQ(child<QLineEdit>(d, name)->text(), text) << name;
    EXPECT_EQ(d.values().backColor, 136255);
    EXPECT_EQ(child<QLineEdit>(d, "edtlblbeijing")->palette().color(QPalette::Base), toQColor(136255));
    EXPECT_TRUE(seams.messages.empty());
}

TEST(SettingsDialog, OpensWithTheExtraBankName) {
    Program p(4, "题库\\自选.tk");
    Seams seams;
    MainWindow w(p.folder());
    seams.messages.clear(); // that bank is not there
    SettingsDialog d(w);
    EXPECT_TRUE(child<QRadioButton>(d, "waijia")->isChecked());
    EXPECT_EQ(child<QComboBox>(d, "tiku_te")->currentText(), QStringLiteral("题库\\自选.tk"));
}

TEST(SettingsDialog, KeyEditsShowTheVirtualKeyCode) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    SettingsDialog d(w);
    d.show();
    struct Case {
        const char* edit;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* shown;
        const char* name;
    } cases[] = {
        {"edt1", Qt::Key_Left, Qt::NoModifier, "37", "←"},
        {"edt2", Qt::Key_1, Qt::KeypadModifier, "97", "小键盘1"},
        {"edt3", Qt::Key_9, Qt::KeypadModifier, "105", "小键盘9"},
        {"edt4", Qt::Key_A, Qt::NoModifier, "65", "A"},
        {"edt5", Qt::Key_Down, Qt::NoModifier, "40", "↓"},
        {"edt6", Qt::Key_F5, Qt::NoModifier, "116", "F5"},
    };
    // Each field opens with the stored key's name beside it.
    const char* opening[] = {"小键盘9", "小键盘6", "小键盘1", "小键盘2", "小键盘3", "小键盘4"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(child<QLabel>(d, QStringLiteral("lblKey%1").arg(i + 1).toUtf8().constData())->text(), QString::fromUtf8(opening[i]));
    for (const Case& c : cases) {
        QLineEdit* e = child<QLineEdit>(d, c.edit);
        QTest::keyClick(e, c.key, c.modifiers);
        EXPECT_EQ(e->text(), c.shown) << c.edit;
        const QByteArray label = QByteArray("lblKey") + QByteArray(c.edit).right(1);
        EXPECT_EQ(child<QLabel>(d, label.constData())->text(), QString::fromUtf8(c.name)) << c.edit;
    }
    // The latest key counts.
    QLineEdit* e1 = child<QLineEdit>(d, "edt1");
    QTest::keyClick(e1, Qt::Key_Up);
    EXPECT_EQ(e1->text(), "38");
    EXPECT_EQ(child<QLabel>(d, "lblKey1")->text(), QStringLiteral("↑"));
}

TEST(SettingsDialog, EnterInAKeyEditIsShownAndStillPressesOk) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    SettingsDialog d(w);
    d.show();
    QLineEdit* e = child<QLineEdit>(d, "edt2");
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(e->text(), "13");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(intAt(p.stateFile(), offsetof(Sfile, keyNext)), 13);
}

TEST(SettingsDialog, OnlyTheLearnersComboChangeChoosesTheExtraBank) {
    Program p;
    p.dir.write("甲.tk", "x");
    p.dir.write("乙.tk", "x");
    Seams seams;
    MainWindow w(p.folder());
    SettingsDialog d(w);
    d.show();
    auto* waijia = child<QRadioButton>(d, "waijia");
    auto* rbXiao = child<QRadioButton>(d, "rbXiao");
    QComboBox* combo = child<QComboBox>(d, "tiku_te");

    // The program's own setting of text and selection.
    combo->setCurrentIndex(1);
    combo->setEditText("other.tk");
    EXPECT_FALSE(waijia->isChecked());

    // Typing.
    combo->setEditText("");
    QTest::keyClicks(combo->lineEdit(), "my.tk");
    EXPECT_TRUE(waijia->isChecked());
    EXPECT_EQ(d.values().bankRadio, 4);
    EXPECT_EQ(d.values().bankText, "my.tk");

    // Picking an item.
    rbXiao->setChecked(true);
    combo->setCurrentIndex(0);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_TRUE(waijia->isChecked());
}

TEST(SettingsDialog, NumberEditsTakeDigitsOnly) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    SettingsDialog d(w);
    for (const char* name : {"chuji", "nanti", "nantixishu", "edtkaoshitishu", "edt7", "edt8"}) {
        setField(d, name, "1a-2 .3");
        EXPECT_EQ(child<QLineEdit>(d, name)->text(), "123") << name;
    }
}

TEST(SettingsDialog, ColourDialogOpensWithTheColourItReturnedLast) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    SettingsDialog d(w);
    d.show();
    QLineEdit* back = child<QLineEdit>(d, "edtlblbeijing");
    QLineEdit* fore = child<QLineEdit>(d, "edtlblzhiti");
    const std::int32_t foreBefore = d.values().textColor;

    seams.colourAnswers = {QColor(255, 0, 0), std::nullopt, QColor(0, 0, 255)};
    QTest::mouseClick(back, Qt::LeftButton);
    QTest::mouseClick(fore, Qt::LeftButton); // cancelled
    EXPECT_EQ(d.values().textColor, foreBefore);
    QTest::mouseClick(fore, Qt::LeftButton);

    ASSERT_EQ(seams.colourDialogOpenedWith.size(), 3u);
    EXPECT_EQ(seams.colourDialogOpenedWith[0], QColor(Qt::black)); // not the swatch's colour
    EXPECT_EQ(seams.colourDialogOpenedWith[1], QColor(255, 0, 0));
    EXPECT_EQ(seams.colourDialogOpenedWith[2], QColor(255, 0, 0)); // a cancel returns nothing
    EXPECT_EQ(d.values().backColor, 0x000000FF);
    EXPECT_EQ(d.values().textColor, 0x00FF0000);
    EXPECT_EQ(back->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(fore->palette().color(QPalette::Base), QColor(0, 0, 255));

    // The captions above the swatches do nothing.
    for (auto* l : d.findChildren<QLabel*>())
        if (l->text() == QStringLiteral("背景色") || l->text() == QStringLiteral("字体色"))
            QTest::mouseClick(l, Qt::LeftButton);
    EXPECT_EQ(seams.colourDialogOpenedWith.size(), 3u);
}

TEST(SettingsDialog, SuggestedColoursThenCancelChangeNothing) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    const std::string before = bytesOf(*w.trainer().s.state);
    const std::string fileBefore = p.stateFile();
    {
        SettingsDialog d(w);
        d.show();
        QTest::mouseClick(child<QPushButton>(d, "btn1"), Qt::LeftButton);
        EXPECT_EQ(d.values().backColor, 0x00CFE8CC);
        EXPECT_EQ(d.values().textColor, 0);
        EXPECT_EQ(child<QLineEdit>(d, "edtlblbeijing")->palette().color(QPalette::Base), QColor(0xCC, 0xE8, 0xCF));
        setField(d, "chuji", "3");
        child<QRadioButton>(d, "waijia")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(d, "Button2"), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }
    EXPECT_EQ(bytesOf(*w.trainer().s.state), before);
    EXPECT_EQ(p.stateFile(), fileBefore);
    EXPECT_TRUE(seams.messages.empty());
}

TEST(SettingsDialog, OkWritesTheStateFileAndAppliesColoursAndPause) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    SettingsDialog d(w);
    d.show();
    QTest::mouseClick(child<QPushButton>(d, "btn1"), Qt::LeftButton);
    setField(d, "chuji", "25");
    setField(d, "nantixishu", "25");
    setField(d, "edtkaoshitishu", "0");
    setField(d, "edt7", "300");
    QTest::mouseClick(child<QPushButton>(d, "Button1"), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(seams.messages.empty());

    std::string file = p.stateFile();
    ASSERT_EQ(file.size(), sizeof(Sfile));
    EXPECT_EQ(file, bytesOf(*w.trainer().s.state));
    EXPECT_EQ(intAt(file, offsetof(Sfile, beginnerCount)), 25);
    EXPECT_EQ(intAt(file, offsetof(Sfile, hardSensitivity)), 25);
    EXPECT_EQ(intAt(file, offsetof(Sfile, examCount)), 0);
    EXPECT_EQ(intAt(file, offsetof(Sfile, pauseMs)), 300);
    EXPECT_EQ(intAt(file, offsetof(Sfile, backColor)), 13625548);
    EXPECT_EQ(intAt(file, offsetof(Sfile, textColor)), 0);

    auto* memo = w.findChild<QPlainTextEdit*>("Memo1");
    EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(0xCC, 0xE8, 0xCF));
    EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(w.adapter().timer(Tmr::TimerNext)->interval(), 300);
}

TEST(SettingsDialog, AClearedFieldIsRefusedAndTheDialogStaysOpen) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    const std::string before = bytesOf(*w.trainer().s.state);
    const std::string fileBefore = p.stateFile();
    SettingsDialog d(w);
    d.show();
    QTest::mouseClick(child<QPushButton>(d, "btn1"), Qt::LeftButton);
    child<QRadioButton>(d, "waijia")->setChecked(true);
    setField(d, "nanti", "");
    QTest::mouseClick(child<QPushButton>(d, "Button1"), Qt::LeftButton);

    EXPECT_EQ(seams.messages, std::vector<QString>{QStringLiteral("'''' is not a valid integer value")});
    EXPECT_TRUE(d.isVisible());
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.focusWidget(), child<QLineEdit>(d, "nanti"));
    EXPECT_EQ(bytesOf(*w.trainer().s.state), before);
    EXPECT_EQ(p.stateFile(), fileBefore);

    // Put right, OK goes through.
    setField(d, "nanti", "12");
    child<QRadioButton>(d, "rbXiao")->setChecked(true);
    QTest::mouseClick(child<QPushButton>(d, "Button1"), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(intAt(p.stateFile(), offsetof(Sfile, hardCount)), 12);
}

TEST(SettingsDialog, SettingsCommandRebuildsTheListAfterCancelOrOk) {
    Program p;
    Seams seams;
    MainWindow w(p.folder());
    Trainer& t = w.trainer();
    ASSERT_EQ(t.s.listCount, 10);
    t.nav.DOClick();
    t.nav.DOClick();
    ASSERT_EQ(t.s.current, 3);
    auto* label3 = w.findChild<QLabel*>("Label3");
    const std::string before = bytesOf(*t.s.state);

    SettingsDialog::setRunHandler([](SettingsDialog& d) {
        setField(d, "chuji", "4");
        QTest::mouseClick(d.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    w.SETClick();
    EXPECT_EQ(bytesOf(*t.s.state), before);
    EXPECT_EQ(t.s.current, 1); // rebuilt all the same
    EXPECT_EQ(label3->text(), "1/10");

    SettingsDialog::setRunHandler([](SettingsDialog& d) {
        setField(d, "chuji", "4");
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    w.SETClick();
    EXPECT_EQ(t.s.listCount, 4);
    EXPECT_EQ(label3->text(), "1/4");
    EXPECT_TRUE(seams.messages.empty());
}

TEST(SettingsDialog, FirstStartAsksForABankAndStartsOnIt) {
    // A fresh program folder: the car bank and no state file.
    test::TempDir dir;
    dir.mkdir("bankdata");
    ASSERT_EQ(BankFile::store(BankGenerator::make(60, 11), dir.file("bankdata/小车.tk")), "");
    ASSERT_FALSE(std::filesystem::exists(dir.file("bankdata/sys.dat")));

    Seams seams;
    int dialogs = 0;
    std::size_t messagesWhenShown = 0;
    SettingsDialog::setRunHandler([&](SettingsDialog& d) {
        ++dialogs;
        messagesWhenShown = seams.messages.size();
        settle(d); // painted: the hint comes
        d.repaint();
        settle(d); // painted again: no second hint
        EXPECT_EQ(seams.messages.size(), messagesWhenShown + 1);
        QTest::mouseClick(d.findChild<QRadioButton*>("rbXiao"), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    MainWindow w(QString::fromStdString(dir.path()));
    w.show();
    settle(w);

    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(messagesWhenShown, 2u);
    const auto said = [](const std::string& m) { return QString::fromStdString(m); };
    EXPECT_EQ(seams.messages,
              (std::vector<QString>{said(FileMessage::compose(texts::kStateMissing, "bankdata/sys.dat",
                                                              FileProblem::NotFound, texts::kStateMade)),
                                    said(FileMessage::compose(texts::kCode2, texts::kNoBankChosen, FileProblem::NotFound,
                                                              texts::kChooseBank)),
                                    kHint}));

    std::string file = dir.read("bankdata/sys.dat");
    ASSERT_EQ(file.size(), 2472784u);
    const std::int32_t defaults[15] = {1, 0, 136255, 10, 10, 2, 0, 105, 102, 97, 98, 99, 100, 1000, 2700};
    for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(intAt(file, 4 * i), defaults[i]) << "offset " << 4 * i;
    EXPECT_EQ(std::string(readField(file.data() + offsetof(Sfile, bankPath), 300)), *gbk::fromUtf8("bankdata\\小车.tk"));
    EXPECT_EQ(intAt(file, offsetof(Sfile, extraBank)), 0);

    // Beginner practice on the chosen bank.
    EXPECT_EQ(w.trainer().s.modeCode, 1);
    EXPECT_EQ(w.trainer().s.bankCount, 60);
    EXPECT_EQ(w.trainer().s.listCount, 10);
    EXPECT_EQ(w.findChild<QLabel*>("Label3")->text(), "1/10");
    EXPECT_FALSE(w.findChild<QPlainTextEdit*>("Memo1")->toPlainText().isEmpty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("初步练习     驰学宝10.1"));

    // A later opening is no first start.
    SettingsDialog::setRunHandler([&](SettingsDialog& d) {
        ++dialogs;
        settle(d);
        QTest::mouseClick(d.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    w.SETClick();
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(seams.messages.size(), 3u);
}
