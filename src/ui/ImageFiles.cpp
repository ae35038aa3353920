#include "ui/ImageFiles.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

namespace cxb {

QByteArray ImageFiles::formatOf(const QByteArray& head) {
    if (head.startsWith("\x89PNG\r\n\x1a\n")) return "png";
    if (head.startsWith("BM") && head.size() >= 14) return "bmp";
    if (head.startsWith("\xff\xd8\xff")) return "jpeg";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return "gif";
    return {};
}

QPixmap ImageFiles::load(const QString& nativePath) {
    if (nativePath.isEmpty()) return {};
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray format = formatOf(file.peek(16));
    if (!format.isEmpty()) {
        QImageReader reader(&file, format);
        reader.setAutoDetectImageFormat(false);
        QImage image = reader.read();
        if (!image.isNull()) return QPixmap::fromImage(std::move(image));
        // The bytes looked like that format but did not read as it; let Qt
        // try every reader it has.
        file.seek(0);
    }
    QImageReader reader(&file);
    QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image));
}

} // namespace cxb
