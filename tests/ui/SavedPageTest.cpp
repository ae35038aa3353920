// "保存....": the saved page, copied into an empty folder, shows every picture
// in a real browser (headless Chromium), and the save dialog starts in the
// learner's documents folder.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FileBytes.h"
#include "data/FixedField.h"
#include "data/StateFile.h"
#include "engine/TravellingPage.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/ExportDialog.h"
#include "ui/MainWindow.h"

using namespace cxb;

namespace {

// A folder with one recorded paper of five questions, three of them with
// pictures of three kinds (PNG, JPEG, and an SVG drawing).
struct SavedFolder {
    test::TempDir dir;
    SavedFolder() {
        dir.mkdir("bankdata");
        dir.mkdir("bankdata/pics");
        Bank bank = BankGenerator::make(10, 5);
        for (int i = 1; i <= 10; ++i) bank.records[static_cast<std::size_t>(i)].picture[0] = '\0';
        writeField(bank.records[1].picture, "pics\\a.png");
        writeField(bank.records[2].picture, "pics\\b.jpg");
        writeField(bank.records[4].picture, "c.svg");
        QImage red(120, 80, QImage::Format_RGB32);
        red.fill(Qt::red);
        EXPECT_TRUE(red.save(QString::fromStdString(dir.file("bankdata/pics/a.png"))));
        EXPECT_TRUE(red.save(QString::fromStdString(dir.file("bankdata/pics/b.jpg")), "JPG"));
        dir.write("bankdata/c.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"60\" height=\"40\">"
                                    "<rect width=\"60\" height=\"40\" fill=\"blue\"/></svg>");
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/x.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, "bankdata\\x.tk");
        HistoryEntry& e = state->history[1];
        writeField(e.takenAt, "2026");
        writeField(e.bankTag, "TKxiaoche");
        e.itemCount = 5;
        e.score = 3;
        for (int i = 1; i <= 5; ++i) e.items[i].questionId = bank.records[static_cast<std::size_t>(i)].id;
        state->historyCount = 1;
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
};

// Saves the paper through "保存...." as `target`, with or without answers;
// returns the path the dialog suggested.
QString saveThroughTheDialog(SavedFolder& f, const QString& target, bool withAnswers) {
    QString suggested;
    std::vector<QString> messages;
    Dialogs::setMessageHandler([&](const QString& m) { messages.push_back(m); });
    Dialogs::setSaveFileHandler([&](const QString& s) {
        suggested = s;
        return target;
    });
    {
        MainWindow w(QString::fromStdString(f.dir.path()));
        ExportDialog::setShowHandler([&](ExportDialog& e) {
            if (!withAnswers) e.showAnswers()->click();
            QTest::mouseClick(e.findChild<QPushButton*>("btn1"), Qt::LeftButton);
        });
        w.exportDialog().buildPaperPages(1);
    }
    ExportDialog::setShowHandler({});
    Dialogs::setSaveFileHandler({});
    Dialogs::setMessageHandler({});
    for (const QString& m : messages) EXPECT_FALSE(m.startsWith(QStringLiteral("错误代码5"))) << m.toStdString();
    return suggested;
}

// The page as Chromium has it once loaded, with what it made of each picture
// written into the body by a script added to this copy only.
QString loadedInChromium(const QString& page) {
    QFile file(page);
    EXPECT_TRUE(file.open(QIODevice::Append));
    file.write("<script>window.addEventListener('load', function () {"
               "document.body.setAttribute('data-pictures', Array.prototype.map.call(document.images,"
               " function (i) { return i.complete && i.naturalWidth > 0 ? 'shown' : 'broken'; }).join(' '));"
               "});</script>\n");
    file.close();
    QTemporaryDir profile;
    QProcess chromium;
    chromium.start(QStringLiteral("chromium"),
                   {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--user-data-dir=" + profile.path(),
                    "--virtual-time-budget=5000", "--dump-dom", QUrl::fromLocalFile(page).toString()});
    if (!chromium.waitForFinished(90000) || chromium.exitCode() != 0) {
        ADD_FAILURE() << "chromium failed (scripts/setup.sh --tests): " << chromium.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(chromium.readAllStandardOutput());
}

} // namespace

TEST(SavedPage, ShowsEveryPictureWhereverItIsCopied) {
    for (bool withAnswers : {true, false}) {
        SCOPED_TRACE(withAnswers);
        SavedFolder f;
        const QString saved = QString::fromStdString(f.dir.file("saved.htm"));
        saveThroughTheDialog(f, saved, withAnswers);
        auto bytes = readFileBytes(saved.toStdString());
        ASSERT_TRUE(bytes.has_value());

        // Copied alone into an empty folder, far from bankdata/.
        test::TempDir elsewhere;
        const QString copy = QString::fromStdString(elsewhere.file("卷.htm"));
        elsewhere.write("卷.htm", *bytes);
        const QString dom = loadedInChromium(copy);
        ASSERT_FALSE(dom.isEmpty());
        const QRegularExpressionMatch pictures =
            QRegularExpression(QStringLiteral("data-pictures=\"([^\"]*)\"")).match(dom);
        ASSERT_TRUE(pictures.hasMatch()) << dom.left(2000).toStdString();
        EXPECT_EQ(pictures.captured(1), QStringLiteral("shown shown shown"));

        // Every picture is a data: address that decodes to a picture.
        int images = 0;
        QRegularExpression img(QStringLiteral("<img src=\"([^\"]*)\""));
        for (auto it = img.globalMatch(dom); it.hasNext();) {
            const std::string src = it.next().captured(1).toStdString();
            ++images;
            const auto decoded = TravellingPage::decodeDataUri(src);
            ASSERT_TRUE(decoded.has_value()) << src.substr(0, 60);
            EXPECT_FALSE(QImage::fromData(QByteArray(decoded->data(), static_cast<qsizetype>(decoded->size()))).isNull());
        }
        EXPECT_EQ(images, 3);
        // The browser read the page in the charset it declares.
        EXPECT_TRUE(dom.contains(QStringLiteral("成绩：3 分（共 5 题）"))) << dom.left(2000).toStdString();
        EXPECT_TRUE(dom.contains(withAnswers ? QStringLiteral("你的答案：") : QStringLiteral("答案：___")));
    }
}

TEST(SavedPage, TheDialogStartsInTheDocumentsFolder) {
    SavedFolder f;
    const QString suggested = saveThroughTheDialog(f, QString(), true);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString start = QDir(documents).exists() ? documents : QDir::homePath();
    EXPECT_EQ(ExportDialog::startFolder(), start);
    EXPECT_EQ(QFileInfo(suggested).absolutePath(), start) << suggested.toStdString();
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("（含答案）.htm"))) << suggested.toStdString();
    // Not the hidden learner's folder, and nothing saved on cancel.
    EXPECT_FALSE(suggested.startsWith(QString::fromStdString(f.dir.path())));
}
