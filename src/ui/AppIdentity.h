#pragma once
#include <QIcon>
#include <QString>

class QApplication;

namespace cxb {

// What the desktop knows the program by, and the language of Qt's own
// dialogs.
//
// The window class (WM_CLASS "chixuebao", "chixuebao") and the desktop file
// name match the desktop entry (its StartupWMClass and file name), so that
// task bars group the windows under the entry's icon; the windows carry the
// program's icon themselves too. The program speaks Chinese only, so Qt's
// file, colour, print and message dialogs do as well, whatever the
// system's language.
class AppIdentity {
public:
    static constexpr const char* kWindowClass = "chixuebao";

    // Names, icon and translations for the running program, whose files
    // lie in `programDir`; `desktopId` is the desktop entry's name without
    // ".desktop".
    static void apply(QApplication& app, const QString& programDir, const QString& desktopId);

    // The program's icon: from the runnable folder (`icons/hicolor` beside
    // the program), from the install's icon folders (`share/icons/hicolor`
    // two levels above it), or from the icon theme; null when none is there.
    static QIcon icon(const QString& programDir, const QString& desktopId);

    // Loads Qt's Chinese translations from Qt's translation folder. false
    // when they are not installed (the dialogs then stay in English).
    static bool loadQtChinese(QApplication& app);
};

} // namespace cxb
