#pragma once
// Reading the pictures the program shows: skin buttons, backgrounds, bank
// and question pictures.
//
// QPixmap::load asks every image plug-in whether it can read the file, which
// loads them all (the SVG one drags in a whole library) before the first
// picture is shown. Here the format is taken from the file's first bytes and
// read by its own reader alone; a file whose bytes name no format we know is
// still handed to Qt's full detection, so any picture Qt can read is shown.
//
// High-density screens follow Qt's "@2x" convention: on a screen of device
// pixel ratio 2, "skin\a.png" is read from "skin\a@2x.png" when that file is
// there, and the pixmap carries ratio 2, so that it takes the room of the
// plain picture with every pixel of the screen drawn.
#include <QByteArray>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace cxb {

class ImageFiles {
public:
    // The picture at the native path for a screen of `ratio` device pixels
    // per pixel; a null pixmap if it cannot be read. The variant for a
    // ratio above 1 is used when there is one that reads beside the plain
    // file; otherwise the plain file is. Setting QT_HIGHDPI_DISABLE_2X_IMAGE_LOADING reads only
    // the plain file, as Qt's own loading does.
    static QPixmap load(const QString& nativePath, qreal ratio = 1.0);

    // The name of the file's variant for `n` device pixels per pixel:
    // "a@2x.png" for "a.png" and n = 2, "a@2x" for a name without suffix.
    static QString variant(const QString& nativePath, int n);

    // The picture to show in `logical` room on a screen of `ratio`: itself
    // when it is that size already, else scaled smoothly to fit, keeping
    // its proportions, with as many pixels as the screen has there.
    static QPixmap fitted(const QPixmap& picture, QSize logical, qreal ratio);

    // The format the leading bytes of a file name ("png", "bmp", "jpeg",
    // "gif"), or an empty array for anything else.
    static QByteArray formatOf(const QByteArray& head);
};

} // namespace cxb
