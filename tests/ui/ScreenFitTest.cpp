// The window and its dialogs on the screen the platform gives: the ctest
// runs ui_tests_screen_* put these on 1366 × 768, 2560 × 1440 at scale 2,
// 1280 × 1024 with text at 125 % and 640 × 480 (the offscreen platform's
// screen files in screens/); the plain run puts them on a roomy screen.
// Whatever the screen, everything lies on its available area, every
// control shows whole, and the small-screen message comes only where even
// the smaller window cannot show the question picker.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "data/StateFile.h"
#include "engine/StarterState.h"
#include "engine/Texts.h"
#include "engine/WindowFit.h"
#include "support/ShippedCopy.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/ExportDialog.h"
#include "ui/HistoryDialog.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"
#include "ui/SettingsDialog.h"

using namespace cxb;
namespace fs = std::filesystem;

namespace {

// A copy of the runnable folder with its starter state: the shipped banks,
// pictures and skin, no first-start messages.
struct Shipped : test::ShippedCopy {
    std::vector<QString> messages;
    Shipped() {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
    }
    ~Shipped() { Dialogs::setMessageHandler({}); }
    int smallScreenMessages() const {
        int n = 0;
        for (const QString& m : messages) n += m.startsWith(QString::fromUtf8(texts::kSmallScreen));
        return n;
    }
};

ScreenRect rectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// Every control shown in `window` lies whole inside its parent, and so
// inside the window; a short window cuts off at its bottom what it does not
// show (the picker).
void expectControlsWhole(QWidget& window, bool shortWindow = false) {
    const int bottom = window.height();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->isWindow()) continue;
        // What a list or scroll area shows inside is its own to scroll.
        bool scrolled = false;
        for (QWidget* up = w->parentWidget(); up && up != &window && !scrolled; up = up->parentWidget())
            scrolled = qobject_cast<QAbstractScrollArea*>(up) != nullptr;
        if (scrolled) continue;
        const QRect inWindow(w->mapTo(&window, QPoint(0, 0)), w->size());
        if (shortWindow && inWindow.top() >= bottom) continue;
        SCOPED_TRACE(w->objectName().toStdString() + " (" + w->metaObject()->className() + ")");
        QRect room = w->parentWidget()->rect();
        if (shortWindow && inWindow.bottom() >= bottom) room.setBottom(w->geometry().bottom()); // cut off on purpose
        EXPECT_TRUE(room.contains(w->geometry()))
            << w->geometry().x() << "," << w->geometry().y() << " " << w->width() << "x" << w->height() << " in "
            << w->parentWidget()->width() << "x" << w->parentWidget()->height();
        EXPECT_FALSE(w->size().isEmpty());
    }
}

void expectOnArea(QWidget& dialog, const QRect& area) {
    SCOPED_TRACE(dialog.objectName().toStdString());
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_TRUE(area.contains(dialog.frameGeometry()))
        << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y() << " " << dialog.frameGeometry().width()
        << "x" << dialog.frameGeometry().height();
    expectControlsWhole(dialog);
}

} // namespace

TEST(ScreenFit, TheWindowAndItsDialogsLieWhollyOnTheScreen) {
    Shipped f;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QTest::qWait(20);
    const QRect area = w.screen()->availableGeometry();
    const WindowPlan plan = WindowFit().firstShow(rectOf(area));
    std::printf("screen %dx%d at ratio %.2f: window %dx%d at scale %.3f%s\n", area.width(), area.height(),
                w.devicePixelRatioF(), w.width(), w.height(), w.scale(), plan.shortWindow ? ", short" : "");

    EXPECT_EQ(rectOf(w.geometry()), plan.frame);
    EXPECT_DOUBLE_EQ(w.scale(), plan.scale);
    EXPECT_EQ(w.isShort(), plan.shortWindow);
    EXPECT_EQ(f.smallScreenMessages(), plan.shortWindow ? 1 : 0);
    if (plan.scale > WindowFit::kMinScale) {
        EXPECT_TRUE(area.contains(w.frameGeometry()));
    }
    expectControlsWhole(w, plan.shortWindow);

    // The design's text and pictures at the window's scale, every picture
    // with a pixel for each pixel of the screen.
    EXPECT_NEAR(w.findChild<QWidget*>("Memo1")->font().pointSizeF(), 14 * w.scale(), 1e-6);
    for (PictureButton* b : w.findChildren<PictureButton*>()) {
        SCOPED_TRACE(b->objectName().toStdString());
        const QString name = b->objectName();
        const int design = name == "img5" ? 32 : name == "Imchuji" ? 80 : b->parentWidget()->objectName() == "pnl3" ? 77 : 72;
        EXPECT_NEAR(b->width(), design * w.scale(), 1.0);
        if (b->pixmap().isNull() || !b->isVisibleTo(&w)) continue;
        // Whole in the button, touching two of its sides, a pixel of the
        // picture for each pixel of the screen.
        const QSize shown = b->pixmap().deviceIndependentSize().toSize();
        EXPECT_EQ(shown.boundedTo(b->size()), shown);
        EXPECT_TRUE(shown.width() == b->width() || shown.height() == b->height());
        EXPECT_EQ(b->pixmap().size(), shown * w.devicePixelRatioF());
    }

    // The settings, the history and the export dialog open wholly on the area.
    SettingsDialog::setRunHandler([&](SettingsDialog& d) {
        d.show();
        QTest::qWait(10);
        expectOnArea(d, area);
        d.reject();
    });
    w.SETClick();
    SettingsDialog::setRunHandler({});
    HistoryDialog::setShowHandler([&](HistoryDialog& d) {
        d.show();
        QTest::qWait(10);
        expectOnArea(d, area);
        d.hide();
    });
    w.btn6Click();
    HistoryDialog::setShowHandler({});
    ExportDialog& e = w.exportDialog();
    e.show();
    QTest::qWait(10);
    expectOnArea(e, area);
    e.hide();

    EXPECT_EQ(f.smallScreenMessages(), plan.shortWindow ? 1 : 0);
    w.close();
}

TEST(ScreenFit, ARestoredWindowComesBackAsItWasAndAShortOneIsCentred) {
    Shipped f;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    QTest::qWait(20);
    const QRect area = w.screen()->availableGeometry();
    const int messages = f.smallScreenMessages();
    auto* toggle = w.findChild<QPushButton*>("BitBtn9");

    // Shortened (or made whole again): centred at the window's scale.
    const bool wasShort = w.isShort();
    QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_NE(w.isShort(), wasShort);
    const int designHeight = w.isShort() ? WindowFit::kShortHeight : WindowFit::kPickerHeight;
    EXPECT_EQ(rectOf(w.geometry()), WindowFit::placed(rectOf(area), w.scale(), designHeight));
    EXPECT_EQ(toggle->text(), w.isShort() ? QStringLiteral("显示选题区") : QStringLiteral("隐藏选题区"));

    // Minimised and restored, or hidden and shown: as it was, no message.
    const QRect before = w.geometry();
    const bool shortBefore = w.isShort();
    w.showMinimized();
    QTest::qWait(20);
    w.showNormal();
    QTest::qWait(20);
    w.hide();
    w.show();
    QTest::qWait(20);
    EXPECT_EQ(w.geometry(), before);
    EXPECT_EQ(w.isShort(), shortBefore);
    EXPECT_EQ(toggle->text(), shortBefore ? QStringLiteral("显示选题区") : QStringLiteral("隐藏选题区"));
    EXPECT_EQ(f.smallScreenMessages(), messages);
    w.close();
}
