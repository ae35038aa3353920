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
