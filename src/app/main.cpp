// 《驰学宝》: a trainer for the written part of the driving-licence test.
//
// Run from its runnable folder (build/app), the program works in its own
// folder. Installed, the launcher starts it with
//   chixuebao --folder DIR --template DIR
// and it works in DIR, the learner's own folder, which is made from the
// installed template at the first start and brought up to date at each
// later one (new files added, the shipped banks upgraded with the learner's
// counters kept) before anything is read.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

#include "app/StartupProbe.h"
#include "data/LearnerFolder.h"
#include "engine/Texts.h"
#include "ui/CloseSignals.h"
#include "ui/Dialogs.h"
#include "ui/FontWarmup.h"
#include "ui/MainWindow.h"
#include "ui/SingleInstance.h"

namespace {

// Says on standard error what the preparation of the learner's folder did
// beyond looking.
void tell(const cxb::LearnerFolder::Report& report, const QString& folder) {
    using Outcome = cxb::BankUpgrade::Outcome;
    if (report.created) std::fprintf(stderr, "chixuebao: made %s from the template\n", qPrintable(folder));
    for (const auto& [name, bank] : report.banks) {
        if (bank.outcome == Outcome::Upgraded)
            std::fprintf(stderr, "chixuebao: %s upgraded, counters of %d questions kept, %d new, %d gone (previous file: %s.bak)\n",
                         name.c_str(), bank.carried, bank.added, bank.dropped, name.c_str());
        else if (bank.outcome == Outcome::Replaced)
            std::fprintf(stderr, "chixuebao: %s was not a readable bank and was replaced (previous file: %s.bak)\n",
                         name.c_str(), name.c_str());
    }
    for (const auto& problem : report.problems) std::fprintf(stderr, "chixuebao: %s\n", problem.c_str());
}

} // namespace

int main(int argc, char** argv) {
    // Reads the font configuration on another core while the rest starts.
    cxb::FontWarmup::start();
    // One trainer per folder: the folder's lock is taken meanwhile as well.
    cxb::SingleInstance instance;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("驰学宝"));
    QApplication::setApplicationVersion(QStringLiteral("10.1"));
    QGuiApplication::setDesktopFileName(QStringLiteral(CXB_APP_ID));
    const bool probe = qEnvironmentVariableIntValue("CXB_EXIT_AFTER_FIRST_QUESTION") == 1;
    if (probe) cxb::startup::exitAtMessageBox();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("驰学宝: a trainer for the written part of the driving-licence test"));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption folderOption(QStringLiteral("folder"),
                                          QStringLiteral("Works in <dir> instead of the program's own folder."),
                                          QStringLiteral("dir"));
    const QCommandLineOption templateOption(QStringLiteral("template"),
                                            QStringLiteral("Makes the folder from <dir> at the first start and brings "
                                                           "it up to date later (needs --folder)."),
                                            QStringLiteral("dir"));
    options.addOptions({folderOption, templateOption});
    options.process(app);

    QString folder = QCoreApplication::applicationDirPath();
    if (options.isSet(folderOption)) folder = QDir(options.value(folderOption)).absolutePath();
    // One trainer per folder, decided before the folder's files are read or
    // brought up to date: a second start brings the running trainer to the
    // front and ends. A folder this start makes cannot have one running.
    const bool folderExisted = QDir(folder).exists();
    if (folderExisted && !instance.claim(folder)) return 0;
    if (options.isSet(folderOption)) {
        if (options.isSet(templateOption)) {
            auto report = cxb::LearnerFolder::prepare(QDir(options.value(templateOption)).path().toStdString(),
                                                      QDir(folder).path().toStdString());
            tell(report, folder);
            if (!report.usable) {
                cxb::Dialogs::message(nullptr, QString::fromStdString(cxb::texts::withSupport(
                                                   "无法建立学习文件夹 " + folder.toStdString() + "：" + report.error)));
                return 1;
            }
        }
    } else if (options.isSet(templateOption)) {
        options.showHelp(2);
    }
    if (!folderExisted && !instance.claim(folder)) return 0;
    // The program works in its folder, beside its banks and pictures.
    if (!QDir::setCurrent(folder)) {
        cxb::Dialogs::message(nullptr, QString::fromStdString(cxb::texts::withSupport(
                                           "无法进入文件夹 " + folder.toStdString())));
        return 1;
    }
    cxb::MainWindow window;
    // SIGTERM, SIGHUP, SIGINT and the session's end store the bank as a close does.
    new cxb::CloseSignals(window);
    instance.raiseOnRequest(window);
    cxb::startup::ExitAfterFirstPaint timing;
    if (probe) window.installEventFilter(&timing);
    window.show();
    return app.exec();
}
