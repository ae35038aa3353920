#pragma once
#include <QRectF>
#include <vector>

#include "ui/PaperPdf.h"

class QPagedPaintDevice;
class QTextDocument;

namespace cxb {

// A paper page on printer pages, question by question: each question's row
// (its text and its picture beside it) stays whole on one page, pictures are
// narrowed to the picture column as on the screen and in the PDF, a row
// taller than a page is drawn smaller to fit it, and every page carries its
// number at the bottom.
class PaperPrint {
public:
    // Where a row of the paper's table lands: its page (0-based) and its
    // rectangle on that page, in the device's pixels.
    struct Placement {
        int page = 0;
        QRectF rect;
    };

    // Lays `page` out for `device` and draws it there; returns where each
    // row went.
    static std::vector<Placement> print(const QTextDocument& page, QPagedPaintDevice& device,
                                        const PaperPdf::PictureSource& pictures);
};

} // namespace cxb
