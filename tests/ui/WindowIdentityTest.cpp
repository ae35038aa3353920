// What the desktop knows the program by (icon, window class, desktop entry)
// and Qt's own dialogs speaking Chinese.
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <gtest/gtest.h>

#include "ui/AppIdentity.h"

using namespace cxb;

namespace {

// Qt's translations for the length of a test; the program loads them once
// for its whole run.
struct Chinese {
    Chinese() { EXPECT_TRUE(AppIdentity::loadQtChinese(*qApp)) << "qt6-translations-l10n is not installed"; }
    ~Chinese() {
        for (QTranslator* t : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

QStringList buttonTexts(QWidget& w) {
    QStringList texts;
    for (QAbstractButton* b : w.findChildren<QAbstractButton*>())
        if (!b->text().isEmpty()) texts << b->text();
    return texts;
}

bool hasChinese(const QString& s) {
    for (QChar c : s)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) return true;
    return false;
}

} // namespace

TEST(QtChinese, StandardDialogsSpeakChinese) {
    Chinese chinese;
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("驰学宝"), QStringLiteral("?"),
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Save);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        EXPECT_EQ(box.button(QMessageBox::Save)->text(), QStringLiteral("保存"));
    }
    // Qt's own colour and file dialogs, as the program opens them.
    struct Case { const char* name; std::function<QDialog*()> make; };
    const Case cases[] = {
        {"colour", [] { auto* d = new QColorDialog; d->setOption(QColorDialog::DontUseNativeDialog); return d; }},
        {"file", [] {
             auto* d = new QFileDialog;
             d->setOption(QFileDialog::DontUseNativeDialog);
             d->setAcceptMode(QFileDialog::AcceptSave);
             return d;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QDialog> d(c.make());
        d->show();
        QTest::qWait(10);
        const QStringList texts = buttonTexts(*d);
        ASSERT_FALSE(texts.isEmpty());
        for (const QString& t : texts) {
            if (t.size() <= 2 && !t.at(0).isLetter()) continue; // "<", "..." and the like
            EXPECT_TRUE(hasChinese(t)) << t.toStdString();
        }
        EXPECT_TRUE(texts.contains(QStringLiteral("取消"))) << texts.join('|').toStdString();
        d->hide();
    }
}

TEST(WindowIdentity, TheRunnableFolderHasTheProgramsIcon) {
    const QIcon icon = AppIdentity::icon(QStringLiteral(CXB_APP_DIR), QStringLiteral(CXB_APP_ID));
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 48, 256}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size));
    }
    // An installed program finds the icons the install put beside it.
    EXPECT_TRUE(AppIdentity::icon(QStringLiteral("/nonexistent/lib/chixuebao"), QStringLiteral("no.such.id")).isNull());
}

TEST(WindowIdentity, TheDesktopEntryNamesTheWindowClass) {
    QFile entry(QStringLiteral(CXB_DESKTOP_FILE));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\nStartupWMClass=%1\n").arg(QLatin1String(AppIdentity::kWindowClass))));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=%1\n").arg(QStringLiteral(CXB_APP_ID))));
}
