// 《驰学宝》: a trainer for the written part of the driving-licence test.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

#include "ui/MainWindow.h"

namespace {

// Milliseconds since this process was started (to the 10 ms of the
// kernel's clock ticks).
double msSinceProcessStart() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream rest(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22; ++i) rest >> field; // fields 3..21
    unsigned long long startTicks = 0;
    rest >> startTicks;
    timespec now {};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9) * 1000.0 - startTicks * 1000.0 / ::sysconf(_SC_CLK_TCK);
}

// Start-up timing (bench/startup.sh): with CXB_EXIT_AFTER_FIRST_QUESTION=1
// the program prints the milliseconds from process start until the window
// with the first question is on screen, and ends at once, without the close
// (the bank is not written back).
class ExitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Runs once this paint pass, children and flush included, is done.
            QTimer::singleShot(0, [] {
                std::printf("%.0f\n", msSinceProcessStart());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("驰学宝"));
    QApplication::setApplicationVersion(QStringLiteral("10.1"));
    // The program works in its own folder, beside its banks and pictures.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    cxb::MainWindow window;
    ExitAfterFirstPaint timing;
    if (qEnvironmentVariableIntValue("CXB_EXIT_AFTER_FIRST_QUESTION") == 1) window.installEventFilter(&timing);
    window.show();
    return app.exec();
}
