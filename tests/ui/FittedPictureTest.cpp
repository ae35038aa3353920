// Pictures fit their box: a large one scaled down whole, a small one at its
// own size, and a click on a scaled one shows it at full size.
#include <QApplication>
#include <QImage>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "support/TrainerFixture.h"
#include "ui/Dialogs.h"
#include "ui/FittedPicture.h"
#include "ui/MainWindow.h"

using namespace cxb;

namespace {

void writePicture(const test::TempDir& dir, const std::string& name, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(QString::fromStdString(dir.file(name)), "PNG"));
}

} // namespace

TEST(FittedPicture, LargePicturesShrinkWholeSmallOnesKeepTheirSize) {
    test::TempDir dir;
    dir.mkdir("bankdata");
    writePicture(dir, "bankdata/big.png", 1689, 1152);
    writePicture(dir, "bankdata/small.png", 40, 40);
    Bank bank = test::plainBank(3);
    test::setPicture(bank.records[1], "big.png");
    test::setPicture(bank.records[2], "small.png");
    ASSERT_EQ("", BankFile::store(bank, dir.file("bankdata/b.tk")));
    auto state = StateFile::newRecord();
    StateFile::resetState(*state);
    writeField(state->bankPath, "bankdata\\b.tk");
    ASSERT_EQ(0, StateFile::saveState(*state, dir.file("bankdata/sys.dat")));
    Dialogs::setMessageHandler([](const QString&) {});

    MainWindow w(QString::fromStdString(dir.path()));
    w.show();
    w.trainer().modes.SunXuClick();
    auto* box = w.findChild<QScrollArea*>("ScrollBox2");
    auto* picture = w.findChild<FittedPicture*>("ImagIE");
    ASSERT_TRUE(box && picture);

    w.trainer().view.showQuestion(1);
    ASSERT_TRUE(box->isVisible());
    QTest::qWait(1);
    const QSize shown = picture->pixmap().deviceIndependentSize().toSize();
    EXPECT_TRUE(picture->isScaled());
    // Scaled to the box, proportions kept: 1689 × 1152 in 460 × 300.
    EXPECT_LE(shown.width(), box->viewport()->width());
    EXPECT_LE(shown.height(), box->viewport()->height());
    EXPECT_TRUE(shown.width() == picture->width() || shown.height() == picture->height());
    EXPECT_NEAR(double(shown.width()) / shown.height(), 1689.0 / 1152.0, 0.02);

    // A click opens it at full size; a click there closes it.
    QTest::mouseClick(picture, Qt::LeftButton);
    QWidget* view = picture->fullSizeView();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());
    auto* full = view->findChild<QLabel*>();
    ASSERT_TRUE(full);
    EXPECT_EQ(full->pixmap().size(), QSize(1689, 1152));
    QTest::mouseClick(full, Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(picture->fullSizeView(), nullptr);

    // A small picture at its own size, centred; a click does nothing.
    w.trainer().view.showQuestion(2);
    EXPECT_FALSE(picture->isScaled());
    EXPECT_EQ(picture->pixmap().size(), QSize(40, 40));
    EXPECT_EQ(picture->alignment(), Qt::AlignCenter);
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_EQ(picture->fullSizeView(), nullptr);
    w.close();
    Dialogs::setMessageHandler({});
}

TEST(FittedPicture, EscClosesTheFullSizeView) {
    FittedPicture label;
    label.resize(100, 80);
    QPixmap big(400, 200);
    big.fill(Qt::red);
    label.setPicture(big);
    label.show();
    EXPECT_EQ(label.pixmap().size(), QSize(100, 50));
    QTest::mouseClick(&label, Qt::LeftButton);
    ASSERT_TRUE(label.fullSizeView());
    QTest::keyClick(label.fullSizeView(), Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(label.fullSizeView(), nullptr);
    label.clearPicture();
    EXPECT_FALSE(label.isScaled());
}
