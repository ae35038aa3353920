#include "ui/ExportDialog.h"

#include "ui/KeyboardAccess.h"
#include "ui/PaperPrint.h"
#include "ui/ScreenReaderNames.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

#include "data/AtomicFile.h"
#include "data/FileBytes.h"
#include "data/Gbk.h"
#include "engine/FileMessage.h"
#include "engine/PaperExport.h"
#include "engine/Texts.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/PaperPdf.h"

namespace cxb {
namespace {
std::function<void(ExportDialog&)>& showHandler() {
    static std::function<void(ExportDialog&)> h;
    return h;
}
std::function<void(QTextDocument&)>& printHandler() {
    static std::function<void(QTextDocument&)> h;
    return h;
}
} // namespace

void ExportDialog::setShowHandler(std::function<void(ExportDialog&)> handler) { showHandler() = std::move(handler); }
void ExportDialog::setPrintHandler(std::function<void(QTextDocument&)> handler) { printHandler() = std::move(handler); }

ExportDialog::ExportDialog(MainWindow& window) : QDialog(&window), window_(window) {
    setObjectName("TForm7");
    setWindowTitle(QStringLiteral("导出"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(662, 490);

    chk1_ = new QCheckBox(QStringLiteral("显示答案"), this);
    chk1_->setObjectName("chk1");
    chk1_->setGeometry(10, 12, 100, 24);
    chk1_->setChecked(true);
    connect(chk1_, &QCheckBox::toggled, this, &ExportDialog::chk1Click);
    auto* save = new QPushButton(QStringLiteral("保存...."), this);
    save->setObjectName("btn1");
    save->setGeometry(120, 8, 90, 32);
    connect(save, &QPushButton::clicked, this, &ExportDialog::btn1Click);
    auto* print = new QPushButton(QStringLiteral("打印"), this);
    print->setObjectName("btn2");
    print->setGeometry(220, 8, 90, 32);
    connect(print, &QPushButton::clicked, this, &ExportDialog::btn2Click);

    auto* pdf = new QPushButton(QStringLiteral("导出PDF"), this);
    pdf->setObjectName("btnpdf");
    pdf->setGeometry(320, 8, 90, 32);
    connect(pdf, &QPushButton::clicked, this, &ExportDialog::btnpdfClick);

    wb1_ = new QTextBrowser(this);
    wb1_->setObjectName("wb1");
    wb1_->setGeometry(0, 48, 661, 442);
    wb1_->setOpenLinks(false);
    KeyboardAccess::bind(this);
    ScreenReaderNames::apply(this);
}

void ExportDialog::buildPaperPages(int entry) {
    window_.trainer().paper.buildPaperPages(entry);
    showPage(true); // each showing starts with the answers, whatever the box says
    if (showHandler()) {
        showHandler()(*this);
        return;
    }
    exec();
}

void ExportDialog::showPage(bool withAnswers) {
    Trainer& t = window_.trainer();
    shown_ = QString::fromStdString(t.paper.pagePath(withAnswers));
    // The pages name their pictures relative to the program's folder.
    QString folder = t.s.folder.empty() ? QDir::currentPath() : QString::fromStdString(t.s.folder);
    wb1_->setSearchPaths({folder});
    wb1_->document()->setBaseUrl(QUrl::fromLocalFile(folder + QLatin1Char('/')));
    // The page is GBK, as its head declares; a page that could not be
    // written shows what is on disk, if anything.
    auto bytes = readFileBytes(shown_.toStdString());
    QString html = bytes ? QString::fromStdString(gbk::toUtf8Lossy(*bytes)) : QString();
    // The page opens no body; this viewer would keep everything after the
    // head's start as head content and show nothing, so the view (not the
    // file) gets the body opened after the title.
    qsizetype title = html.indexOf(QLatin1String("</title>"));
    if (title >= 0 && !html.contains(QLatin1String("<body"), Qt::CaseInsensitive))
        html.insert(title + 8, QLatin1String("</head><body>"));
    wb1_->setHtml(html);
    // Wide question pictures are narrowed to the page's picture column, as
    // on paper, so that the page fits the view's width.
    PaperPdf::embedPictures(*wb1_->document(), [this](const QUrl& url) {
        return wb1_->loadResource(QTextDocument::ImageResource, url);
    });
}

void ExportDialog::chk1Click() { showPage(chk1_->isChecked()); }

void ExportDialog::btn1Click() {
    QFileInfo shown(shown_);
    QString target = Dialogs::saveFileName(this, QStringLiteral("另存为"), shown.absoluteFilePath(),
                                           QStringLiteral("网页 (*.htm *.html);;所有文件 (*)"));
    if (target.isEmpty()) return;
    // The page's own bytes; its pictures stay named by their paths.
    auto bytes = readFileBytes(shown_.toStdString());
    if (!bytes) {
        Dialogs::message(this, QString::fromStdString(FileMessage::compose(
                                   PaperExport::kCannotWrite, shown_.toStdString(), FileProblem::NotFound)));
        return;
    }
    if (AtomicFile::Outcome saved = AtomicFile::save(target.toStdString(), *bytes); !saved.ok())
        Dialogs::message(this, QString::fromStdString(
                                   FileMessage::compose(PaperExport::kCannotWrite, target.toStdString(), saved.problem)));
}

void ExportDialog::btn2Click() {
    if (printHandler()) {
        printHandler()(*wb1_->document());
        return;
    }
    QPrintPreviewDialog preview(this);
    // Question by question, each whole on its page with its picture.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        PaperPrint::print(*wb1_->document(), *printer, [this](const QUrl& url) {
            return wb1_->loadResource(QTextDocument::ImageResource, url);
        });
    });
    preview.exec();
}

void ExportDialog::btnpdfClick() {
    const bool withAnswers = shown_.endsWith(QLatin1String(PaperExport::kWithAnswers));
    const QString suggested = QFileInfo(shown_).absolutePath() + QLatin1Char('/') +
                              (withAnswers ? QStringLiteral("考试卷（含答案）.pdf") : QStringLiteral("考试卷（无答案）.pdf"));
    QString target = Dialogs::saveFileName(this, QStringLiteral("导出PDF"), suggested, QStringLiteral("PDF 文件 (*.pdf)"));
    if (target.isEmpty()) return;
    if (QFileInfo(target).suffix().isEmpty()) target += QStringLiteral(".pdf");
    // The pictures are found the way this viewer found them for the screen.
    const QString why = PaperPdf::write(target, *wb1_->document(), [this](const QUrl& url) {
        return wb1_->loadResource(QTextDocument::ImageResource, url);
    });
    if (!why.isEmpty()) Dialogs::message(this, QString::fromUtf8(kPdfFailed) + target + QLatin1Char('\n') + why);
}

} // namespace cxb
