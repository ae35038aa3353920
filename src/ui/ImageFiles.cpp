#include "ui/ImageFiles.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtMath>

namespace cxb {

namespace {

QImage readFile(const QString& nativePath) {
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray format = ImageFiles::formatOf(file.peek(16));
    if (!format.isEmpty()) {
        QImageReader reader(&file, format);
        reader.setAutoDetectImageFormat(false);
        QImage image = reader.read();
        if (!image.isNull()) return image;
        // The bytes looked like that format but did not read as it; let Qt
        // try every reader it has.
        file.seek(0);
    }
    QImageReader reader(&file);
    return reader.read();
}

bool variantsDisabled() {
    static const bool disabled = !qEnvironmentVariableIsEmpty("QT_HIGHDPI_DISABLE_2X_IMAGE_LOADING");
    return disabled;
}

} // namespace

QByteArray ImageFiles::formatOf(const QByteArray& head) {
    if (head.startsWith("\x89PNG\r\n\x1a\n")) return "png";
    if (head.startsWith("BM") && head.size() >= 14) return "bmp";
    if (head.startsWith("\xff\xd8\xff")) return "jpeg";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return "gif";
    return {};
}

QString ImageFiles::variant(const QString& nativePath, int n) {
    const qsizetype slash = nativePath.lastIndexOf(QLatin1Char('/'));
    qsizetype dot = nativePath.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1) dot = nativePath.size(); // no suffix (a leading dot is part of the name)
    QString out = nativePath;
    return out.insert(dot, QStringLiteral("@%1x").arg(n));
}

QPixmap ImageFiles::load(const QString& nativePath, qreal ratio) {
    if (nativePath.isEmpty()) return {};
    // A variant stands in for a file that is there, never for a missing one,
    // so that what is missing does not depend on the screen.
    if (ratio > 1.0 && !variantsDisabled() && QFile::exists(nativePath)) {
        // The closest variant at or above the screen's ratio first, as Qt
        // looks for them; a missing or unreadable one falls back.
        for (int n = qMin(qCeil(ratio), 9); n >= 2; --n) {
            const QString file = variant(nativePath, n);
            if (!QFile::exists(file)) continue;
            QImage image = readFile(file);
            if (image.isNull()) continue;
            image.setDevicePixelRatio(n);
            return QPixmap::fromImage(std::move(image));
        }
    }
    QImage image = readFile(nativePath);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image));
}

QPixmap ImageFiles::fitted(const QPixmap& picture, QSize logical, qreal ratio) {
    if (picture.isNull() || picture.deviceIndependentSize().toSize() == logical) return picture;
    QPixmap scaled = picture.scaled(logical * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

} // namespace cxb
