#include "ui/PaperPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <memory>

namespace cxb {

namespace {

constexpr double kMarginCm = 2.0;

QTextTable* paperTable(const QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
    return nullptr;
}

QTextDocumentFragment cellContents(const QTextTableCell& cell) {
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selection();
}

// One row of the paper as a document of its own: a table of one row with the
// paper's column widths, laid out on the device.
std::unique_ptr<QTextDocument> rowDocument(const QTextDocument& paper, const QTextTable& table, int row,
                                           QPagedPaintDevice& device, qreal width) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(paper.defaultFont());
    doc->setDocumentMargin(0);
    doc->documentLayout()->setPaintDevice(&device);
    doc->setTextWidth(width);
    QTextTableFormat format = table.format();
    format.setHeaderRowCount(0);
    QTextCursor c(doc.get());
    QTextTable* copy = c.insertTable(1, table.columns(), format);
    for (int col = 0; col < table.columns(); ++col) {
        QTextTableCell from = table.cellAt(row, col);
        QTextTableCell to = copy->cellAt(0, col);
        to.setFormat(from.format());
        QTextCursor in = to.firstCursorPosition();
        in.insertFragment(cellContents(from));
    }
    return doc;
}

} // namespace

std::vector<PaperPrint::Placement> PaperPrint::print(const QTextDocument& page, QPagedPaintDevice& device,
                                                     const PaperPdf::PictureSource& pictures) {
    std::unique_ptr<QTextDocument> paper(page.clone());
    PaperPdf::embedPictures(*paper, pictures);
    std::vector<Placement> placed;
    QPainter painter(&device);
    if (!painter.isActive()) return placed;

    const qreal marginX = kMarginCm / 2.54 * device.logicalDpiX();
    const qreal marginY = kMarginCm / 2.54 * device.logicalDpiY();
    const QRectF body(marginX, marginY, device.width() - 2 * marginX, device.height() - 2 * marginY);
    const QFont numberFont(paper->defaultFont(), &device);
    int pageNumber = 1;
    auto finishPage = [&] {
        painter.save();
        painter.setFont(numberFont);
        const QString n = QString::number(pageNumber);
        const QFontMetricsF m(numberFont, &device);
        painter.drawText(QPointF(body.right() - m.horizontalAdvance(n), body.bottom() + m.ascent() + 5), n);
        painter.restore();
    };

    QTextTable* table = paperTable(*paper);
    const int rows = table ? table->rows() : 0;
    qreal y = 0;
    for (int r = 0; r < rows; ++r) {
        std::unique_ptr<QTextDocument> row = rowDocument(*paper, *table, r, device, body.width());
        // The row's pictures come with the paper; the copy needs them too.
        PaperPdf::embedPictures(*row, [&paper](const QUrl& url) {
            return paper->resource(QTextDocument::ImageResource, url);
        });
        const QSizeF size = row->documentLayout()->documentSize();
        // A row taller than a page is drawn smaller, whole on its own page.
        const qreal scale = size.height() > body.height() ? body.height() / size.height() : 1.0;
        const qreal height = size.height() * scale;
        if (y > 0 && y + height > body.height()) {
            finishPage();
            device.newPage();
            ++pageNumber;
            y = 0;
        }
        painter.save();
        painter.translate(body.left(), body.top() + y);
        painter.scale(scale, scale);
        row->drawContents(&painter);
        painter.restore();
        placed.push_back({pageNumber - 1, QRectF(body.left(), body.top() + y, size.width() * scale, height)});
        y += height;
    }
    finishPage();
    return placed;
}

} // namespace cxb
