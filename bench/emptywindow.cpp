// The yardstick for the trainer's start-up: an empty Qt window of the main
// window's size. It prints the milliseconds from process start to its first
// paint and ends there, exactly as chixuebao does with
// CXB_EXIT_AFTER_FIRST_QUESTION=1. With --text it shows one line of Chinese
// text, which costs the font set-up the trainer pays as well; with --latin one
// line of plain ASCII text, the least any window with words on it pays.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "app/StartupProbe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1086, 786);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--text" || mode == "--latin") {
        auto* line = new QLabel(mode == "--text" ? QStringLiteral("驰学宝：驾驶理论考试练习")
                                                 : QStringLiteral("Driving theory practice"),
                                &window);
        line->move(20, 20);
    }
    cxb::startup::ExitAfterFirstPaint timing;
    window.installEventFilter(&timing);
    window.show();
    return app.exec();
}
