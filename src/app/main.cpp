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
#include <QDir>
#include <cstdio>
#include <string>
#include <vector>

#include "app/StartupProbe.h"
#include "data/LearnerFolder.h"
#include "engine/CommandLine.h"
#include "engine/StartupNotices.h"
#include "engine/Texts.h"
#include "ui/AppIdentity.h"
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
            std::fprintf(stderr, "chixuebao: %s upgraded, counters of %d questions kept, %d new, %d gone (previous file: %s)\n",
                         name.c_str(), bank.carried, bank.added, bank.dropped, bank.backup.c_str());
        else if (bank.outcome == Outcome::Salvaged)
            std::fprintf(stderr, "chixuebao: %s was not a readable bank; the counters of %d questions were saved (damaged file: %s)\n",
                         name.c_str(), bank.carried, bank.backup.c_str());
    }
    for (const auto& problem : report.problems) std::fprintf(stderr, "chixuebao: %s\n", problem.c_str());
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version are answered before anything starts: no display
    // is needed and no file is touched.
    const std::string name = cxb::CommandLine::programName(argv[0]);
    const cxb::CommandLine line = cxb::CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (line.action == cxb::CommandLine::Action::Help) {
        std::fputs(cxb::CommandLine::helpText(name).c_str(), stdout);
        return 0;
    }
    if (line.action == cxb::CommandLine::Action::Version) {
        std::fputs(cxb::CommandLine::versionText(name).c_str(), stdout);
        return 0;
    }
    const QString folderOption = line.folder.empty() ? QString() : QDir(QString::fromStdString(line.folder)).absolutePath();

    // Reads the font configuration on another core while the rest starts.
    cxb::FontWarmup::start();
    // One trainer per folder: the folder's lock is taken meanwhile as well.
    cxb::SingleInstance instance(folderOption);
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromUtf8(cxb::CommandLine::release()));
    // Window class, desktop entry, icon, and Qt's dialogs in Chinese.
    cxb::AppIdentity::apply(app, QCoreApplication::applicationDirPath(), QStringLiteral(CXB_APP_ID));
    const bool probe = qEnvironmentVariableIntValue("CXB_EXIT_AFTER_FIRST_QUESTION") == 1;
    if (probe) cxb::startup::exitAtMessageBox();

    // What is left once Qt has taken the options of the window system.
    QStringList rest = QCoreApplication::arguments();
    rest.removeFirst();
    std::vector<std::string> restArgs;
    for (const QString& arg : rest) restArgs.push_back(arg.toStdString());
    const cxb::CommandLine remaining = cxb::CommandLine::parse(restArgs);
    if (!remaining.error.empty() || !remaining.unknown.empty()) {
        const std::string why = !remaining.error.empty() ? remaining.error : "unknown option " + remaining.unknown.front();
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", name.c_str(), why.c_str(), name.c_str());
        return 2;
    }

    const QString folder = folderOption.isEmpty() ? QCoreApplication::applicationDirPath() : folderOption;
    // One trainer per folder, decided before the folder's files are read or
    // brought up to date: a second start brings the running trainer to the
    // front and ends. A folder this start makes cannot have one running.
    const bool folderExisted = QDir(folder).exists();
    if (folderExisted && !instance.claim(folder)) return 0;
    if (!folderOption.isEmpty()) {
        if (!line.templateDir.empty()) {
            auto report = cxb::LearnerFolder::prepare(QDir(QString::fromStdString(line.templateDir)).path().toStdString(),
                                                      QDir(folder).path().toStdString());
            tell(report, folder);
            // A bank that was salvaged is never replaced without a word.
            for (const std::string& notice : cxb::StartupNotices::of(report, QDir(folder).path().toStdString()))
                cxb::Dialogs::message(nullptr, QString::fromStdString(notice));
            if (!report.usable) {
                cxb::Dialogs::message(nullptr, QString::fromStdString(cxb::texts::withSupport(
                                                   "无法建立学习文件夹 " + folder.toStdString() + "：" + report.error)));
                return 1;
            }
        }
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
