#include "ui/AppIdentity.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace cxb {

namespace {
const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
} // namespace

QIcon AppIdentity::icon(const QString& programDir, const QString& desktopId) {
    const QString folders[] = {programDir + QStringLiteral("/icons/hicolor"),
                               programDir + QStringLiteral("/../../share/icons/hicolor")};
    for (const QString& folder : folders) {
        QIcon icon;
        for (int size : kIconSizes) {
            const QString file = QStringLiteral("%1/%2x%2/apps/%3.png").arg(folder).arg(size).arg(desktopId);
            if (QFileInfo::exists(file)) icon.addFile(QDir::cleanPath(file), QSize(size, size));
        }
        if (!icon.isNull()) return icon;
    }
    return QIcon::fromTheme(desktopId);
}

bool AppIdentity::loadQtChinese(QApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    // "qt" names the catalogues of every Qt module installed ("qtbase",
    // "qtmultimedia", ...); "qtbase" alone where that one is missing.
    bool loaded = false;
    for (const char* catalogue : {"qt", "qtbase"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, QString::fromLatin1(catalogue), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            loaded = true;
            break;
        }
        delete translator;
    }
    return loaded;
}

void AppIdentity::apply(QApplication& app, const QString& programDir, const QString& desktopId) {
    // The application name is the window class's second part.
    QApplication::setApplicationName(QString::fromLatin1(kWindowClass));
    QGuiApplication::setDesktopFileName(desktopId);
    const QIcon programIcon = icon(programDir, desktopId);
    if (!programIcon.isNull()) QApplication::setWindowIcon(programIcon);
    loadQtChinese(app);
}

} // namespace cxb
