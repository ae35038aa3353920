// The print preview's pages: each question stays whole on one page with its
// picture beside it, wide pictures keep their proportions in the picture
// column, every page has its number. Printed into a real PDF and read back
// with poppler's tools.
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "ui/PaperPrint.h"

using namespace cxb;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed (poppler-utils: scripts/setup.sh --tests)";
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A paper as the export writes it: a table 583 wide, text 370, picture 197.
QString paperHtml(int rows, const QString& picture) {
    QString html = QStringLiteral("<html><head><title>驰学宝</title></head><body><table width=\"583\" border=\"0\">");
    for (int i = 1; i <= rows; ++i) {
        html += QStringLiteral("<tr><td width=\"370\" height=\"163\">%1,第%1题的题目文字，选择正确的答案。<br>A、甲<br>B、乙"
                               "<p name=\"da\">答案：A</p></td><td width=\"197\">")
                    .arg(i);
        if (!picture.isEmpty()) html += QStringLiteral("<img src=\"%1\"  />").arg(picture);
        html += QStringLiteral("</td></tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}

struct Printed {
    std::vector<PaperPrint::Placement> rows;
    QString pdf;
    QSizeF page;
};

Printed printPaper(const test::TempDir& dir, int rows, const QString& picture) {
    QTextBrowser view; // finds the pictures as the export view does
    view.setSearchPaths({QString::fromStdString(dir.path())});
    view.setHtml(paperHtml(rows, picture));
    Printed out;
    out.pdf = QString::fromStdString(dir.file("print.pdf"));
    QPdfWriter writer(out.pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    out.rows = PaperPrint::print(*view.document(), writer, [&view](const QUrl& url) {
        return view.loadResource(QTextDocument::ImageResource, url);
    });
    out.page = QSizeF(writer.width(), writer.height());
    return out;
}

int pages(const QString& pdf) {
    auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

TEST(PaperPrint, EachQuestionStaysWholeOnOnePageWithItsPicture) {
    test::TempDir dir;
    // Tall pictures: 400 × 900, narrowed to 197 × 443 in the picture column.
    QImage tall(400, 900, QImage::Format_RGB32);
    tall.fill(Qt::darkGreen);
    ASSERT_TRUE(tall.save(QString::fromStdString(dir.file("tall.png"))));
    const int rows = 9;
    Printed p = printPaper(dir, rows, "tall.png");
    ASSERT_EQ(p.rows.size(), std::size_t(rows));
    const int n = pages(p.pdf);
    ASSERT_GE(n, 3) << "nine tall rows do not fit two pages";
    for (int r = 0; r < rows; ++r) {
        const auto& row = p.rows[std::size_t(r)];
        EXPECT_GE(row.rect.top(), 0);
        EXPECT_LE(row.rect.bottom(), p.page.height()) << "row " << r + 1 << " runs off its page";
        if (r > 0) {
            const auto& before = p.rows[std::size_t(r - 1)];
            EXPECT_TRUE(row.page == before.page + 1 || (row.page == before.page && row.rect.top() >= before.rect.bottom() - 0.5))
                << "row " << r + 1;
        }
        // The question's text is on the page of its row, and on no other.
        const QString number = QStringLiteral("%1,第%1题").arg(r + 1);
        for (int page = 1; page <= n; ++page) {
            const QString text = run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), p.pdf, "-"})
                                     .remove(QRegularExpression("\\s"));
            EXPECT_EQ(text.contains(number), page == row.page + 1) << number.toStdString() << " page " << page;
        }
    }
    // Each picture is drawn on the page of its row, 197 × 443 in proportion.
    const QStringList images = run("pdfimages", {"-list", p.pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(images.size(), rows);
    for (int r = 0; r < rows; ++r) {
        const QStringList cols = images[r].split(' ', Qt::SkipEmptyParts);
        EXPECT_EQ(cols[0].toInt(), p.rows[std::size_t(r)].page + 1) << "picture of row " << r + 1;
    }
    // Every page carries its number.
    for (int page = 1; page <= n; ++page) {
        const QStringList lines =
            run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), p.pdf, "-"}).split('\n');
        EXPECT_TRUE(lines.contains(QString::number(page))) << "page " << page;
    }
}

TEST(PaperPrint, ARowTallerThanAPageIsDrawnSmallerOnItsOwnPage) {
    test::TempDir dir;
    QImage huge(200, 4000, QImage::Format_RGB32);
    huge.fill(Qt::blue);
    ASSERT_TRUE(huge.save(QString::fromStdString(dir.file("huge.png"))));
    Printed p = printPaper(dir, 2, "huge.png");
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].page, 0);
    EXPECT_EQ(p.rows[1].page, 1);
    for (const auto& row : p.rows) EXPECT_LE(row.rect.bottom(), p.page.height());
}

TEST(PaperPrint, APaperWithoutPicturesFillsItsPages) {
    test::TempDir dir;
    Printed p = printPaper(dir, 30, QString());
    ASSERT_EQ(p.rows.size(), 30u);
    const int n = pages(p.pdf);
    EXPECT_EQ(n, p.rows.back().page + 1);
    EXPECT_LT(n, 30) << "rows share pages";
    EXPECT_EQ(run("pdfimages", {"-list", p.pdf}).split('\n', Qt::SkipEmptyParts).size(), 2);
}
