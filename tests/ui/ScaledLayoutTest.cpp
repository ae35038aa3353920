// The window drawn at other scales than designed: fitted to screen areas
// of several sizes, and resized by the learner. The controls keep the
// design's places at the scale, text grows and shrinks with them, the
// question picker is drawn and scrolled at the scale, and pictures come
// from the @2x file where the scale calls for more pixels. The learner's
// text size (字号) draws the question text larger on top.
#include <QApplication>
#include <QCheckBox>
#include <QWheelEvent>
#include <QComboBox>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "data/StateFile.h"
#include "engine/StarterState.h"
#include "engine/TextSize.h"
#include "engine/WindowFit.h"
#include "support/ShippedCopy.h"
#include "support/TempDir.h"
#include "ui/DesignScale.h"
#include "ui/Dialogs.h"
#include "ui/ImageFiles.h"
#include "ui/MainWindow.h"
#include "ui/PickerWidget.h"
#include "ui/PictureButton.h"
#include "ui/SettingsDialog.h"

using namespace cxb;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<Sfile> starterWith(TextSize::Size size) {
    auto state = StarterState::make();
    TextSize::store(*state, size);
    return state;
}

struct Shipped : test::ShippedCopy {
    std::vector<QString> messages;
    explicit Shipped(TextSize::Size size = TextSize::Standard) : test::ShippedCopy(*starterWith(size)) {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
    }
    ~Shipped() { Dialogs::setMessageHandler({}); }
};

QImage pixels(const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); }
QImage pixels(const QString& file) { return QImage(file).convertToFormat(QImage::Format_ARGB32); }

// Controls placed by the design, in their parents' design coordinates.
struct Placed { const char* name; QRect design; };
const Placed kPlaced[] = {
    {"pnl3", {0, 0, 1086, 100}},        {"pnl2", {0, 100, 1086, 686}},
    {"Memo1", {24, 32, 560, 230}},       {"JIAOJUAN", {960, 340, 100, 40}},
    {"BitBtn9", {960, 450, 100, 36}},    {"ScrollBox1", {93, 540, 900, 125}},
    {"CheckBox2", {750, 416, 150, 22}},  {"img5", {1040, 12, 32, 32}},
};

void expectDesignAt(MainWindow& w, double scale) {
    for (const auto& p : kPlaced) {
        SCOPED_TRACE(p.name);
        auto* c = w.findChild<QWidget*>(p.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->geometry(), DesignScale::scaled(p.design, scale));
    }
    EXPECT_NEAR(w.findChild<QWidget*>("Memo1")->font().pointSizeF(), 14 * scale, 1e-6);
    auto* picker = w.findChild<PickerWidget*>("mage1");
    EXPECT_DOUBLE_EQ(picker->scale(), scale);
    EXPECT_NEAR(picker->width(), PickerCanvas::kWidth * scale, 1.0);
}

} // namespace

TEST(ScaledLayout, FittedToAreasOfSeveralSizes) {
    Shipped f;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QTest::qWait(20);
    struct Case { const char* name; QRect area; };
    const Case cases[] = {
        {"1366x768", {0, 0, 1366, 768}},    {"1366x768 below a panel", {0, 32, 1366, 736}},
        {"1280x720", {0, 0, 1280, 720}},    {"1024x819", {0, 0, 1024, 819}},
        {"800x600", {0, 0, 800, 600}},      {"roomy", {0, 0, 2560, 1600}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.fitToArea(c.area);
        const WindowPlan plan = WindowFit().firstShow({c.area.x(), c.area.y(), c.area.width(), c.area.height()});
        EXPECT_EQ(w.geometry(), QRect(plan.frame.x, plan.frame.y, plan.frame.width, plan.frame.height));
        EXPECT_TRUE(c.area.contains(w.geometry()));
        EXPECT_FALSE(w.isShort());
        expectDesignAt(w, plan.scale);
    }
    EXPECT_TRUE(f.messages.empty());
    w.close();
}

TEST(ScaledLayout, TooSmallForThePickerTheWindowIsShortAndSaysSoOnce) {
    Shipped f;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QTest::qWait(20);
    f.messages.clear();
    w.fitToArea({0, 0, 1024, 500});
    EXPECT_TRUE(w.isShort());
    EXPECT_EQ(w.height(), 500);
    EXPECT_EQ(w.findChild<QPushButton*>("BitBtn9")->text(), QStringLiteral("显示选题区"));
    w.fitToArea({0, 0, 640, 480});
    EXPECT_TRUE(w.isShort());
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_TRUE(f.messages[0].startsWith(QStringLiteral("我发现您的显示分辨率太小了，不能完全显示，建议设置的大一些；\n")));
    w.close();
}

TEST(ScaledLayout, AResizedWindowDrawsTheDesignAtItsNewSizeWithSharpPictures) {
    Shipped f;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QTest::qWait(20);
    auto* sunxu = w.findChild<PictureButton*>("ima_sunxu");
    const qreal ratio = w.devicePixelRatioF();

    // Twice the design: the tool strip's pictures are the @2x files' pixels.
    w.resize(2 * 1086, 2 * 785);
    QTest::qWait(20);
    EXPECT_DOUBLE_EQ(w.scale(), 2.0);
    expectDesignAt(w, 2.0);
    EXPECT_EQ(sunxu->size(), QSize(154, 154));
    EXPECT_EQ(sunxu->pixmap().size(), QSize(154, 154) * ratio);
    if (ratio == 1.0) {
        EXPECT_TRUE(pixels(sunxu->pixmap()) == pixels(ImageFiles::variant(sunxu->pictureFile(), 2)));
    }

    // Back at the design size: the plain files again, pixel for pixel.
    w.resize(1086, 785);
    QTest::qWait(20);
    EXPECT_DOUBLE_EQ(w.scale(), 1.0);
    expectDesignAt(w, 1.0);
    if (ratio == 1.0) {
        EXPECT_TRUE(pixels(sunxu->pixmap()) == pixels(sunxu->pictureFile()));
    }

    // Smaller; the picker scrolls a row of its scaled cells per notch.
    w.resize(760, 550);
    QTest::qWait(20);
    const double s = std::min(760.0 / 1086, 550.0 / 785);
    EXPECT_NEAR(w.scale(), s, 1e-9);
    expectDesignAt(w, s);
    w.trainer().modes.SunXuClick(); // the whole bank: a picker of many rows
    QTest::qWait(20);
    auto* box = w.findChild<QScrollArea*>("ScrollBox1");
    box->verticalScrollBar()->setValue(0);
    QWheelEvent down(QPointF(20, 20), box->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box->viewport(), &down);
    EXPECT_EQ(box->verticalScrollBar()->value(), static_cast<int>(std::lround(PickerCanvas::kCellHeight * s)));
    EXPECT_TRUE(f.messages.empty());
    w.close();
}

TEST(ScaledLayout, TheLearnersTextSizeDrawsTheQuestionLarger) {
    Shipped f(TextSize::ExtraLarge);
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QTest::qWait(20);
    auto size = [&w](const char* name) { return w.findChild<QWidget*>(name)->font().pointSizeF(); };
    EXPECT_NEAR(size("Memo1"), 14 * 1.5, 1e-6);
    EXPECT_NEAR(size("chkA"), 13 * 1.5, 1e-6);
    const double judgement = size("Label4");
    const double label = size("Label3"); // not question text: as designed
    w.resize(543, 393);                  // half the design: the text size stays on top of the scale
    QTest::qWait(20);
    EXPECT_NEAR(size("Memo1"), 14 * 1.5 * w.scale(), 1e-6);
    EXPECT_NEAR(size("Label3"), label * w.scale(), 1e-6);
    w.resize(1086, 785);
    QTest::qWait(20);

    // 字号 in the settings dialog: 大, then OK; the state file keeps it.
    SettingsDialog::setRunHandler([](SettingsDialog& d) {
        auto* choice = d.findChild<QComboBox*>("cbzihao");
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->currentText(), QStringLiteral("特大"));
        ASSERT_EQ(choice->count(), 3);
        choice->setCurrentIndex(1);
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    w.SETClick();
    SettingsDialog::setRunHandler({});
    EXPECT_NEAR(size("Memo1"), 14 * 1.25, 1e-6);
    EXPECT_NEAR(size("Label4"), judgement / 1.5 * 1.25, 1e-6);
    const std::string file = f.dir.read("bankdata/sys.dat");
    ASSERT_EQ(file.size(), sizeof(Sfile));
    EXPECT_EQ(file[2472781], 1);
    w.close();
}
