#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace artgen {

// Parses "WxH" or "N" (square); returns an invalid size on bad input.
QSize parseSize(const QString& text);

// Renders SVG bytes into an image. An invalid size means the SVG's own size;
// `scale` multiplies either. On failure returns a null image and sets *error.
QImage renderSvg(const QByteArray& svg, QSize size, QString* error, int scale = 1);

// The name of a picture's variant for screens of `scale` device pixels per
// pixel, as Qt looks for it: "skin/a@2x.png" for "skin/a.png".
QString scaledName(const QString& path, int scale);

// Writes PNG, or BMP when the name ends in ".bmp" (composed over white,
// no alpha). Creates the parent folder.
bool saveImage(const QImage& image, const QString& path, QString* error);

// Writes raw bytes, creating the parent folder.
bool saveBytes(const QByteArray& bytes, const QString& path, QString* error);

// Lays the pictures out in a grid on a plain background, each labelled with
// its file name, for looking at a whole set at once.
QImage contactSheet(const QStringList& files, int columns, QColor background, double scale, QString* error);

} // namespace artgen
