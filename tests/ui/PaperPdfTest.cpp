// "导出PDF" in the export dialog: the page on show as an A4 PDF with its
// pictures and page numbers, read back with poppler's tools.
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

#include <algorithm>

#include "data/AtomicFile.h"
#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/AnswerText.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/ExportDialog.h"
#include "ui/MainWindow.h"
#include "ui/PaperPdf.h"

using namespace cxb;

namespace {

struct Question {
    std::string text; // UTF-8
    std::string answer;
};

// A runnable folder whose history holds one paper of the car bank: the
// first `size` questions of a generated bank, the first with a wide picture.
struct PaperFolder {
    test::TempDir dir;
    std::vector<Question> questions;
    explicit PaperFolder(int size) {
        dir.mkdir("bankdata");
        dir.mkdir("bankdata/pics");
        Bank bank = BankGenerator::make(40, 3);
        for (int i = 1; i <= 40; ++i) bank.records[static_cast<std::size_t>(i)].picture[0] = '\0';
        writeField(bank.records[1].picture, "pics\\wide.png");
        QImage picture(400, 200, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        EXPECT_TRUE(picture.save(QString::fromStdString(dir.file("bankdata/pics/wide.png"))));
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/x.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\x.tk");
        HistoryEntry& e = state->history[1];
        writeField(e.takenAt, "2024");
        writeField(e.bankTag, "TKxiaoche");
        e.itemCount = size;
        for (int i = 1; i <= size; ++i) {
            const QuestionRecord& r = bank.records[static_cast<std::size_t>(i)];
            e.items[i].questionId = r.id;
            questions.push_back({gbk::toUtf8Lossy(readField(r.text)), answerText(r.type, r.answer)});
        }
        state->historyCount = 1;
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString folder() const { return QString::fromStdString(dir.path()); }
    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }
};

struct Seams {
    std::vector<QString> messages;
    QString target;
    int asked = 0;
    Seams() {
        Dialogs::setMessageHandler([this](const QString& m) { messages.push_back(m); });
        Dialogs::setSaveFileHandler([this](const QString&) {
            ++asked;
            return target;
        });
    }
    // The window shows messages of its own (missing skin pictures); these
    // tests look at the PDF's only.
    int firstPdfFailure() const {
        for (std::size_t i = 0; i < messages.size(); ++i)
            if (messages[i].startsWith(QString::fromUtf8(ExportDialog::kPdfFailed))) return static_cast<int>(i);
        return -1;
    }
    int pdfFailures() const {
        return static_cast<int>(std::count_if(messages.begin(), messages.end(), [](const QString& m) {
            return m.startsWith(QString::fromUtf8(ExportDialog::kPdfFailed));
        }));
    }
    ~Seams() {
        Dialogs::setMessageHandler({});
        Dialogs::setSaveFileHandler({});
        ExportDialog::setShowHandler({});
        AtomicFile::setWriteHook({});
    }
};

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed (poppler-utils: scripts/setup.sh --tests): "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pageCount(const QString& pdf) {
    QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pageText(const QString& pdf, int page) {
    return run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

QString squeezed(QString s) { return s.remove(QRegularExpression(QStringLiteral("\\s"))); }

// The whole text of the PDF without white space, and each page's number
// found alone on a line of that page.
QString checkedText(const QString& pdf, int pages) {
    QString all;
    for (int p = 1; p <= pages; ++p) {
        QStringList lines = pageText(pdf, p).split('\n');
        // The number goes, so that a question running on to the next page
        // still reads as one text.
        const qsizetype number = lines.lastIndexOf(QString::number(p));
        EXPECT_GE(number, 0) << "no number on page " << p;
        if (number >= 0) lines.removeAt(number);
        all += lines.join('\n');
    }
    return squeezed(all);
}

// Exports the paper with and without answers through "导出PDF".
void exportBoth(PaperFolder& f, Seams& seams, const QString& withAnswers, const QString& without) {
    MainWindow w(f.folder());
    ExportDialog::setShowHandler([&](ExportDialog& e) {
        auto* pdf = e.findChild<QPushButton*>("btnpdf");
        ASSERT_NE(pdf, nullptr);
        EXPECT_EQ(pdf->text(), QStringLiteral("导出PDF"));
        seams.target = withAnswers;
        QTest::mouseClick(pdf, Qt::LeftButton);
        e.showAnswers()->click();
        seams.target = without;
        QTest::mouseClick(pdf, Qt::LeftButton);
    });
    w.exportDialog().buildPaperPages(1);
}

} // namespace

TEST(PaperPdf, APaperWithAndWithoutAnswersHoldsItsQuestionsAndPicture) {
    struct Case {
        int questions;
        int pages;
    } cases[] = {{3, 1}, {40, 4}}; // rows of about a dozen lines each: 40 questions fill four A4 pages
    for (const Case& c : cases) {
        SCOPED_TRACE(c.questions);
        PaperFolder f(c.questions);
        Seams seams;
        const QString with = f.file("with.pdf"), without = f.file("without.pdf");
        exportBoth(f, seams, with, without);
        EXPECT_EQ(seams.asked, 2);
        for (const QString& pdf : {with, without}) {
            auto bytes = readFileBytes(pdf.toStdString());
            ASSERT_TRUE(bytes.has_value()) << pdf.toStdString();
            EXPECT_EQ(bytes->substr(0, 5), "%PDF-");
            EXPECT_EQ(pageCount(pdf), c.pages);
        }
        const QString a = checkedText(with, c.pages), n = checkedText(without, c.pages);
        int position = 0;
        for (const Question& q : f.questions) {
            const QString text = squeezed(QString::fromStdString(q.text));
            const QString numbered = QString::number(++position) + ',' + text;
            EXPECT_TRUE(a.contains(numbered + QStringLiteral("答案：") + QString::fromStdString(q.answer)))
                << numbered.toStdString();
            EXPECT_TRUE(n.contains(numbered + QStringLiteral("答案：___"))) << numbered.toStdString();
        }
        EXPECT_FALSE(a.contains(QStringLiteral("答案：___")));
        // The picture is in both, at the size it was drawn.
        for (const QString& pdf : {with, without}) {
            const QStringList images = run("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
            ASSERT_EQ(images.size(), 1) << pdf.toStdString();
            EXPECT_EQ(images[0].split(' ', Qt::SkipEmptyParts).mid(3, 2), (QStringList{"400", "200"}));
        }
        EXPECT_EQ(seams.pdfFailures(), 0);
    }
}

TEST(PaperPdf, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    PaperFolder f(3);
    Seams seams;
    const QString target = f.file("paper.pdf");
    f.dir.write("paper.pdf", "old");
    AtomicFile::setWriteHook([](const std::string&, std::size_t) { return false; }); // a full disk
    MainWindow w(f.folder());
    ExportDialog::setShowHandler([&](ExportDialog& e) {
        seams.target = target;
        QTest::mouseClick(e.findChild<QPushButton*>("btnpdf"), Qt::LeftButton);
        seams.target = f.file("new.pdf");
        QTest::mouseClick(e.findChild<QPushButton*>("btnpdf"), Qt::LeftButton);
        seams.target.clear(); // cancelled: nothing happens
        QTest::mouseClick(e.findChild<QPushButton*>("btnpdf"), Qt::LeftButton);
    });
    w.exportDialog().buildPaperPages(1);
    ASSERT_EQ(seams.pdfFailures(), 2);
    const QString first = seams.messages[static_cast<std::size_t>(seams.firstPdfFailure())];
    EXPECT_TRUE(first.startsWith(QString::fromUtf8(ExportDialog::kPdfFailed) + target + '\n')) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("cannot write"))) << first.toStdString();
    EXPECT_EQ(f.dir.read("paper.pdf"), "old");
    EXPECT_FALSE(fileExists(f.dir.file("new.pdf")));
    for (const QString& name : QDir(f.folder()).entryList(QDir::Files))
        EXPECT_FALSE(name.contains(QStringLiteral(".tmp-"))) << name.toStdString();
}

TEST(PaperPdf, TheExportViewFitsTheWidePictureToItsColumn) {
    PaperFolder f(3);
    Seams seams;
    MainWindow w(f.folder());
    bool shown = false;
    ExportDialog::setShowHandler([&](ExportDialog& e) {
        shown = true;
        e.show();
        QTextDocument* doc = e.browser()->document();
        int pictures = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (!format.isImageFormat()) continue;
                ++pictures;
                const QTextImageFormat image = format.toImageFormat();
                // 400 × 200 drawn 197 wide, its height in proportion.
                EXPECT_DOUBLE_EQ(image.width(), PaperPdf::kPictureWidth);
                EXPECT_DOUBLE_EQ(image.height(), PaperPdf::kPictureWidth / 2.0);
            }
        EXPECT_EQ(pictures, 1);
        EXPECT_LE(doc->idealWidth(), e.browser()->viewport()->width()) << "nothing to scroll sideways";
        e.hide();
    });
    w.exportDialog().buildPaperPages(1);
    EXPECT_TRUE(shown);
}
