// The picker draws its numbers from strips made when first shown: however
// the picture is painted (whole, in bands, from the bottom up), each cell
// must come out the same.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PickerWidget.h"
#include "ui/QuestionPanel.h"

using namespace cxb;

namespace {

// A window on a 1,999-question bank in sequential practice, with answers
// right and wrong here and there, so the cells come in several colours.
struct PickerWindow {
    test::TempDir dir;
    std::unique_ptr<MainWindow> window;
    PickerWindow() {
        Dialogs::setMessageHandler([](const QString&) {});
        dir.mkdir("bankdata");
        EXPECT_EQ(BankFile::store(BankGenerator::make(1999, 5), dir.file("bankdata/b.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\b.tk");
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
        window = std::make_unique<MainWindow>(QString::fromStdString(dir.path()));
        window->trainer().modes.SunXuClick();
        Session& s = window->trainer().s;
        for (int i = 1; i <= s.listCount; i += 3) s.entry(i).userAnswer = (i % 2) ? s.entry(i).answer : 99;
        s.current = 777;
    }
    ~PickerWindow() { Dialogs::setMessageHandler({}); }
    PickerWidget& picker() { return *window->questionPanel().picker(); }

    // Paints the picture band by band, in the order given.
    QImage paint(const std::vector<QRect>& bands) {
        QImage image(picker().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        for (const QRect& band : bands) {
            QPainter p(&image);
            p.setClipRect(band);
            picker().paintPicker(p, band);
        }
        return image;
    }
};

std::vector<QRect> bands(const QSize& size, int height, bool bottomUp) {
    std::vector<QRect> out;
    for (int y = 0; y < size.height(); y += height) out.push_back(QRect(0, y, size.width(), height));
    if (bottomUp) std::reverse(out.begin(), out.end());
    return out;
}

} // namespace

TEST(PickerPaint, EveryWayOfPaintingGivesTheSamePicture) {
    PickerWindow whole;
    ASSERT_EQ(whole.window->trainer().s.listCount, 1999);
    const QImage reference = whole.paint({QRect(QPoint(0, 0), whole.picker().size())});

    // Fresh windows, so the strips are made in another order each time.
    struct Way {
        const char* name;
        int bandHeight;
        bool bottomUp;
    };
    for (const Way& way : {Way{"bands of 37 pixels from the top", 37, false},
                           Way{"bands of 500 pixels from the bottom", 500, true},
                           Way{"rows of cells from the bottom", 26, true}}) {
        SCOPED_TRACE(way.name);
        PickerWindow other;
        const QImage image = other.paint(bands(other.picker().size(), way.bandHeight, way.bottomUp));
        ASSERT_EQ(image.size(), reference.size());
        EXPECT_TRUE(image == reference);
    }
    // Painted again from its strips, the first window gives the same picture.
    EXPECT_TRUE(whole.paint(bands(whole.picker().size(), 111, true)) == reference);
}
