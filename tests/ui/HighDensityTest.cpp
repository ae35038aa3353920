// The window on a high-density screen: every skin button, answer button,
// judgement mark and question picture is shown from its @2x file, with a
// pixel of the picture for each pixel of the screen. The ctest run
// ui_tests_scale2 runs these at device pixel ratio 2 (QT_SCALE_FACTOR=2);
// in the plain run the same checks hold at ratio 1.
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "data/FixedField.h"
#include "data/StateFile.h"
#include "data/StoredPath.h"
#include "engine/StarterState.h"
#include "support/ShippedCopy.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/FittedPicture.h"
#include "ui/ImageFiles.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

using namespace cxb;
namespace fs = std::filesystem;

namespace {

// The pixels of a picture file, to compare with what a control shows.
QImage pixelsOf(const QString& file) { return QImage(file).convertToFormat(QImage::Format_ARGB32); }
QImage pixelsOf(const QPixmap& shown) { return shown.toImage().convertToFormat(QImage::Format_ARGB32); }

// `shown` takes `room` on the screen with `ratio` pixels per pixel; at a
// ratio above 1 its pixels are those of the file's @2x variant.
void expectSharp(const QPixmap& shown, QSize room, qreal ratio, const QString& file) {
    SCOPED_TRACE(file.toStdString());
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.devicePixelRatio(), ratio);
    EXPECT_EQ(shown.deviceIndependentSize().toSize(), room);
    EXPECT_EQ(shown.size(), room * ratio);
    EXPECT_TRUE(pixelsOf(shown) == pixelsOf(ratio > 1 ? ImageFiles::variant(file, 2) : file)) << "other pixels";
}

} // namespace

TEST(HighDensity, PicturesAreLoadedAtTheScreensPixelRatio) {
    test::ShippedCopy shipped;
    test::TempDir& dir = shipped.dir;
    Dialogs::setMessageHandler([](const QString&) {});
    {
        MainWindow w(QString::fromStdString(dir.path()));
        w.show();
        QTest::qWait(20);
        const qreal ratio = w.devicePixelRatioF();
        if (qEnvironmentVariableIsSet("CXB_EXPECT_RATIO")) {
            ASSERT_EQ(ratio, qEnvironmentVariable("CXB_EXPECT_RATIO").toDouble());
        }
        Trainer& t = w.trainer();

        // The beginner's background bitmap, tiled from the window's corner,
        // seen where the tool strip leaves it bare.
        std::string tileName(readField(t.s.state->skinChuji));
        if (tileName.empty()) tileName = lookupSkin(t.s.skin, "bg_chuji");
        const QString tileFile = QString::fromStdString(dir.file(toNativePath(tileName)));
        const QImage tile = QImage(ratio > 1 ? ImageFiles::variant(tileFile, 2) : tileFile).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(tile.isNull());
        const QImage bare = w.grab(QRect(2, 40, 8, 8)).toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(bare.size(), QSize(8, 8) * ratio);
        EXPECT_TRUE(bare == tile.copy(QRect(QPoint(2, 40) * ratio, bare.size()))) << "other pixels";

        // The tool strip and the close button with their normal pictures,
        // the answer buttons as the question shows them.
        for (Ctl c : {Ctl::ima_sunxu, Ctl::Imchuji, Ctl::Ima_nanti, Ctl::Ima_kaoshi, Ctl::Ima_cuowuji, Ctl::Ima_tiku,
                      Ctl::img_lishi, Ctl::img_shezhi, Ctl::imgzhuozhe, Ctl::img5})
            t.skinButtons.mouseLeave(c);
        t.skinButtons.refreshAnswerButtons();
        int buttons = 0;
        for (PictureButton* b : w.findChildren<PictureButton*>()) {
            SCOPED_TRACE(b->objectName().toStdString());
            ASSERT_FALSE(b->pictureFile().isEmpty());
            expectSharp(b->pixmap(), b->size(), ratio, b->pictureFile());
            ++buttons;
        }
        EXPECT_EQ(buttons, 16);

        // A question with a picture, answered: the picture and the mark.
        t.modes.SunXuClick();
        Session& s = t.s;
        int withPicture = 0;
        for (int i = 1; i <= s.listCount && !withPicture; ++i)
            if (!s.entry(i).picture.empty() && s.entry(i).type != 3) withPicture = i;
        ASSERT_GT(withPicture, 0);
        t.view.showQuestion(withPicture);
        auto* picture = w.findChild<FittedPicture*>("ImagIE");
        const QString file =
            QString::fromStdString(dir.file(resolvePicture(s.entry(withPicture).picture, false).nativePath));
        expectSharp(picture->picture(), QImage(file).size(), ratio, file);

        const ListEntry& e = s.entry(withPicture);
        t.judge.answerQuestion(e.type == 2 ? (e.answer == 6 ? 5 : 6) : (e.answer == 1 ? 2 : 1));
        auto* mark = w.findChild<QLabel*>("Image2");
        expectSharp(mark->pixmap(), mark->size(), ratio, QString::fromStdString(dir.file("bankdata/fileclose.png")));
        w.close();
    }
    Dialogs::setMessageHandler({});
}
