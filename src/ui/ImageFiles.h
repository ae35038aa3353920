#pragma once
// Reading the pictures the program shows: skin buttons, backgrounds, bank
// and question pictures.
//
// QPixmap::load asks every image plug-in whether it can read the file, which
// loads them all (the SVG one drags in a whole library) before the first
// picture is shown. Here the format is taken from the file's first bytes and
// read by its own reader alone; a file whose bytes name no format we know is
// still handed to Qt's full detection, so any picture Qt can read is shown.
#include <QByteArray>
#include <QPixmap>
#include <QString>

namespace cxb {

class ImageFiles {
public:
    // The picture at the native path; a null pixmap if it cannot be read.
    static QPixmap load(const QString& nativePath);

    // The format the leading bytes of a file name ("png", "bmp", "jpeg",
    // "gif"), or an empty array for anything else.
    static QByteArray formatOf(const QByteArray& head);
};

} // namespace cxb
