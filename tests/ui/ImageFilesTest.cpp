// Pictures are read by the reader their leading bytes name, whatever the
// file is called, and anything else Qt can read still shows.
#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "ui/ImageFiles.h"

using namespace cxb;

namespace {
QImage sample() {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 60));
    image.setPixel(0, 0, qRgb(10, 220, 40));
    return image;
}

std::string encoded(const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(sample().save(&buffer, format)) << format;
    return bytes.toStdString();
}

QString path(const test::TempDir& dir, const std::string& name) { return QString::fromStdString(dir.file(name)); }
} // namespace

TEST(ImageFiles, FormatFromLeadingBytes) {
    struct Case { QByteArray head; QByteArray format; };
    const Case cases[] = {
        {QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), "png"},
        {QByteArray("BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00", 14), "bmp"},
        {QByteArray("BM"), ""}, // too short for a bitmap header
        {QByteArray("\xff\xd8\xff\xe0", 4), "jpeg"},
        {QByteArray("GIF89a"), "gif"},
        {QByteArray("GIF87a"), "gif"},
        {QByteArray("GIF88a"), ""},
        {QByteArray("\x89PNG\r\n", 6), ""}, // cut inside the signature
        {QByteArray("P6\n7 5\n255\n"), ""},
        {QByteArray(), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ImageFiles::formatOf(c.head), c.format) << c.head.toHex().constData();
}

TEST(ImageFiles, ReadsEachFormatWhateverItsName) {
    test::TempDir dir;
    struct Case { const char* format; const char* name; bool exact; };
    const Case cases[] = {
        {"PNG", "a.png", true}, {"BMP", "b.bmp", true}, {"JPEG", "c.jpg", false},
        {"PNG", "png-called.bmp", true}, {"BMP", "bmp-called.png", true}, {"PNG", "no-suffix", true},
        {"PPM", "e.ppm", true}, // no fast reader: Qt's own detection
        {"XPM", "f.pic", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.name, encoded(c.format));
        QPixmap pixmap = ImageFiles::load(path(dir, c.name));
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.size(), QSize(7, 5));
        if (c.exact) {
            EXPECT_EQ(pixmap.toImage().pixel(0, 0), qRgb(10, 220, 40));
        }
    }
    // Qt writes no GIF: a one-pixel black one, by hand.
    const char gif[] = "GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff\0\0\0!\xf9\x04\x01\0\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02D\x01\0;";
    dir.write("g.gif", std::string(gif, sizeof gif - 1));
    QPixmap pixmap = ImageFiles::load(path(dir, "g.gif"));
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(1, 1));
    EXPECT_EQ(pixmap.toImage().pixel(0, 0), qRgb(0, 0, 0));
}

TEST(ImageFiles, UnreadableGivesNullPixmap) {
    test::TempDir dir;
    const std::string png = encoded("PNG");
    dir.write("cut.png", png.substr(0, png.size() / 2));
    dir.write("junk.png", "not a picture at all");
    dir.write("empty.png", "");
    dir.mkdir("folder.png");
    for (const char* name : {"cut.png", "junk.png", "empty.png", "folder.png", "missing.png"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(ImageFiles::load(path(dir, name)).isNull());
    }
    EXPECT_TRUE(ImageFiles::load(QString()).isNull());
}

TEST(ImageFiles, VariantNamesFollowQtsConvention) {
    struct Case { const char* plain; int n; const char* variant; };
    const Case cases[] = {
        {"skin/a.png", 2, "skin/a@2x.png"},
        {"/x/bankdata/pics/sign_01.png", 3, "/x/bankdata/pics/sign_01@3x.png"},
        {"skin/bg.tile.bmp", 2, "skin/bg.tile@2x.bmp"},
        {"skin/noext", 2, "skin/noext@2x"},
        {"dir.d/noext", 2, "dir.d/noext@2x"},
        {"skin/.hidden", 2, "skin/.hidden@2x"},
    };
    for (const auto& c : cases) EXPECT_EQ(ImageFiles::variant(c.plain, c.n), QString::fromUtf8(c.variant)) << c.plain;
}

// On a high-density screen the @2x file is read and takes the room of the
// plain one; without a readable variant the plain file is shown.
TEST(ImageFiles, ReadsTheVariantForTheScreensRatio) {
    test::TempDir dir;
    auto picture = [&](const char* name, int size, QColor colour) {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path(dir, name), "PNG"));
    };
    picture("a.png", 8, Qt::red);
    picture("a@2x.png", 16, Qt::green);
    picture("a@3x.png", 24, Qt::blue);
    picture("b.png", 8, Qt::red);
    picture("c.png", 8, Qt::red);
    dir.write("c@2x.png", "not a picture");
    picture("d@2x.png", 16, Qt::green); // only the variant: nothing for the plain name

    struct Case { const char* name; qreal ratio; int pixels; qreal shownRatio; QColor colour; };
    const Case cases[] = {
        {"a.png", 1.0, 8, 1.0, Qt::red},
        {"a.png", 2.0, 16, 2.0, Qt::green},
        {"a.png", 1.5, 16, 2.0, Qt::green},
        {"a.png", 3.0, 24, 3.0, Qt::blue},
        {"a.png", 2.5, 24, 3.0, Qt::blue},
        {"b.png", 2.0, 8, 1.0, Qt::red},  // no variant
        {"c.png", 2.0, 8, 1.0, Qt::red},  // an unreadable variant
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.ratio));
        QPixmap p = ImageFiles::load(path(dir, c.name), c.ratio);
        ASSERT_FALSE(p.isNull());
        EXPECT_EQ(p.size(), QSize(c.pixels, c.pixels));
        EXPECT_EQ(p.devicePixelRatio(), c.shownRatio);
        EXPECT_EQ(p.deviceIndependentSize().toSize(), QSize(8, 8));
        EXPECT_EQ(p.toImage().pixelColor(0, 0), c.colour);
    }
    EXPECT_TRUE(ImageFiles::load(path(dir, "d.png"), 2.0).isNull());
    EXPECT_TRUE(ImageFiles::load(path(dir, "missing.png"), 2.0).isNull());
}

TEST(ImageFiles, FittedKeepsAPictureOfItsRoomAndScalesAnyOther) {
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPixmap twice = QPixmap::fromImage(image);
    twice.setDevicePixelRatio(2.0);
    // Already 8x4 in logical pixels.
    QPixmap same = ImageFiles::fitted(twice, QSize(8, 4), 2.0);
    EXPECT_EQ(same.cacheKey(), twice.cacheKey());
    // Larger room: scaled with the screen's pixels, keeping proportions.
    QPixmap up = ImageFiles::fitted(twice, QSize(20, 20), 2.0);
    EXPECT_EQ(up.size(), QSize(40, 20));
    EXPECT_EQ(up.devicePixelRatio(), 2.0);
    EXPECT_EQ(up.deviceIndependentSize().toSize(), QSize(20, 10));
    QPixmap plain = ImageFiles::fitted(QPixmap::fromImage(image), QSize(8, 8), 1.0);
    EXPECT_EQ(plain.size(), QSize(8, 4));
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);
}
