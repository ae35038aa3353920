#pragma once
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QTextDocument;

namespace cxb {

// A paper page as an A4 PDF: the document on show, with every picture it
// names, laid out on A4 pages with page numbers.
class PaperPdf {
public:
    // Finds a picture the page names (as the viewer showing the page does);
    // an invalid value when there is none.
    using PictureSource = std::function<QVariant(const QUrl&)>;

    // Pictures wider than the page's picture column are drawn to its width.
    static constexpr int kPictureWidth = 197;
    // The least padding inside the page's table cells on paper.
    static constexpr double kCellPadding = 6;

    // Hands every picture the page names to `doc` itself, so that laying it
    // out needs no viewer to find them, and narrows the wide ones to the
    // page's picture column, keeping their proportions.
    static void embedPictures(QTextDocument& doc, const PictureSource& pictures);

    // The PDF's bytes. `page` itself is not changed.
    static QByteArray render(const QTextDocument& page, const PictureSource& pictures);
    // Renders `page` and writes it to `target` in one step (temporary file
    // beside it, then renamed); returns an empty string on success, else
    // what went wrong. A failure leaves no file behind.
    static QString write(const QString& target, const QTextDocument& page, const PictureSource& pictures);
};

} // namespace cxb
