#include "ui/PaperPdf.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <memory>
#include <vector>

#include "data/AtomicFile.h"
#include "engine/Texts.h"

namespace cxb {
namespace {

QImage imageOf(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QImage: return v.value<QImage>();
    case QMetaType::QPixmap: return v.value<QPixmap>().toImage();
    case QMetaType::QByteArray: return QImage::fromData(v.toByteArray());
    default: return {};
    }
}

struct Picture {
    int position;
    int length;
    QTextImageFormat format;
};

} // namespace

void PaperPdf::embedPictures(QTextDocument& doc, const PictureSource& pictures) {
    QSet<QString> embedded;
    std::vector<Picture> narrowed;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().isImageFormat()) continue;
            QTextImageFormat format = f.charFormat().toImageFormat();
            const QUrl url(format.name());
            const QImage image = pictures ? imageOf(pictures(url)) : QImage();
            if (image.isNull()) continue;
            if (!embedded.contains(format.name())) {
                doc.addResource(QTextDocument::ImageResource, url, image);
                embedded.insert(format.name());
            }
            if (!format.hasProperty(QTextFormat::ImageWidth) && !format.hasProperty(QTextFormat::ImageHeight) &&
                image.width() > PaperPdf::kPictureWidth) {
                format.setWidth(PaperPdf::kPictureWidth);
                format.setHeight(qreal(PaperPdf::kPictureWidth) * image.height() / image.width());
                narrowed.push_back({f.position(), f.length(), format});
            }
        }
    }
    for (const Picture& p : narrowed) {
        QTextCursor c(&doc);
        c.setPosition(p.position);
        c.setPosition(p.position + p.length, QTextCursor::KeepAnchor);
        c.setCharFormat(p.format);
    }
}

namespace {

// A little room inside the page's table cells, so that on paper each
// question stands apart from the answer line above it.
void spaceRows(QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        QTextTableFormat format = table->format();
        if (format.cellPadding() < PaperPdf::kCellPadding) {
            format.setCellPadding(PaperPdf::kCellPadding);
            table->setFormat(format);
        }
    }
}

} // namespace

QByteArray PaperPdf::render(const QTextDocument& page, const PictureSource& pictures) {
    std::unique_ptr<QTextDocument> doc(page.clone());
    embedPictures(*doc, pictures);
    spaceRows(*doc);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(doc->metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QString::fromUtf8(texts::kVersion));
        // A document without a page size of its own is laid out on the
        // writer's pages with 2 cm margins and a number under each page.
        doc->print(&writer);
    }
    return buffer.data();
}

QString PaperPdf::write(const QString& target, const QTextDocument& page, const PictureSource& pictures) {
    const QByteArray pdf = render(page, pictures);
    if (!pdf.startsWith("%PDF")) return QStringLiteral("the page could not be laid out as a PDF");
    const std::string why =
        AtomicFile::write(target.toStdString(), std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    return QString::fromStdString(why);
}

} // namespace cxb
