#include "Render.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace artgen {

QSize parseSize(const QString& text) {
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    if (parts.size() < 1 || parts.size() > 2) return {};
    bool okW = false, okH = false;
    const int w = parts[0].toInt(&okW);
    const int h = parts.size() == 2 ? parts[1].toInt(&okH) : (okH = okW, w);
    if (!okW || !okH || w <= 0 || h <= 0 || w > 8192 || h > 8192) return {};
    return {w, h};
}

QImage renderSvg(const QByteArray& svg, QSize size, QString* error, int scale) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        *error = QStringLiteral("not a readable SVG");
        return {};
    }
    if (!size.isValid()) size = renderer.defaultSize();
    if (!size.isValid() || size.isEmpty()) {
        *error = QStringLiteral("the SVG has no size; give one");
        return {};
    }
    size *= scale;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
    painter.end();
    return image;
}

QString scaledName(const QString& path, int scale) {
    if (scale == 1) return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1) dot = path.size();
    QString out = path;
    return out.insert(dot, QStringLiteral("@%1x").arg(scale));
}

static bool makeParent(const QString& path, QString* error) {
    const QString dir = QFileInfo(path).absolutePath();
    if (QDir().mkpath(dir)) return true;
    *error = QStringLiteral("cannot create folder %1").arg(dir);
    return false;
}

bool saveImage(const QImage& image, const QString& path, QString* error) {
    if (!makeParent(path, error)) return false;
    const bool bmp = path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
    QImage out;
    if (bmp) {
        // BMP readers differ on alpha: flatten onto white, store 24-bit.
        out = QImage(image.size(), QImage::Format_RGB32);
        out.fill(Qt::white);
        QPainter p(&out);
        p.drawImage(0, 0, image);
        p.end();
        out = out.convertToFormat(QImage::Format_RGB888);
    } else {
        out = image.convertToFormat(QImage::Format_ARGB32);
    }
    if (!out.save(path, bmp ? "BMP" : "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool saveBytes(const QByteArray& bytes, const QString& path, QString* error) {
    if (!makeParent(path, error)) return false;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

QImage contactSheet(const QStringList& files, int columns, QColor background, double scale, QString* error) {
    QList<QImage> images;
    int cellW = 0, cellH = 0;
    for (const QString& f : files) {
        QImage img(f);
        if (img.isNull()) {
            *error = QStringLiteral("cannot read %1").arg(f);
            return {};
        }
        if (scale != 1.0)
            img = img.scaled(img.size() * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        cellW = std::max(cellW, img.width());
        cellH = std::max(cellH, img.height());
        images.push_back(img);
    }
    if (images.isEmpty()) {
        *error = QStringLiteral("no pictures given");
        return {};
    }
    const int pad = 14, label = 16;
    cellW = std::max(cellW + 2 * pad, 96);
    cellH += 2 * pad + label;
    columns = std::clamp(columns, 1, int(images.size()));
    const int rows = (int(images.size()) + columns - 1) / columns;
    QImage sheet(columns * cellW, rows * cellH, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(background);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(QColor(0x55, 0x5e, 0x6b));
    for (int i = 0; i < images.size(); ++i) {
        const int cx = (i % columns) * cellW, cy = (i / columns) * cellH;
        const QImage& img = images[i];
        p.drawImage(cx + (cellW - img.width()) / 2, cy + pad + (cellH - 2 * pad - label - img.height()) / 2, img);
        p.drawText(QRect(cx + 2, cy + cellH - pad - label + 4, cellW - 4, label), Qt::AlignCenter,
                   QFileInfo(files[i]).fileName());
    }
    p.end();
    return sheet;
}

} // namespace artgen
