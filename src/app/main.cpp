// 《驰学宝》: a trainer for the written part of the driving-licence test.
#include <QApplication>
#include <QDir>

#include "app/StartupProbe.h"
#include "ui/FontWarmup.h"
#include "ui/MainWindow.h"
#include "ui/SingleInstance.h"

int main(int argc, char** argv) {
    // Reads the font configuration on another core while the rest starts.
    cxb::FontWarmup::start();
    // One trainer per folder: the folder's lock is taken meanwhile as well.
    cxb::SingleInstance instance;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("驰学宝"));
    QApplication::setApplicationVersion(QStringLiteral("10.1"));
    // The program works in its own folder, beside its banks and pictures.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    // Decided before the folder's files are read: a second start brings the
    // running trainer to the front and ends.
    if (!instance.claim()) return 0;
    cxb::MainWindow window;
    instance.raiseOnRequest(window);
    cxb::startup::ExitAfterFirstPaint timing;
    if (qEnvironmentVariableIntValue("CXB_EXIT_AFTER_FIRST_QUESTION") == 1) window.installEventFilter(&timing);
    window.show();
    return app.exec();
}
