#include "ui/CloseSignals.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "ui/MainWindow.h"

namespace cxb {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int pipeFds[2] = {-1, -1};

extern "C" void onCloseSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    // A full pipe already holds a close request; nothing more is needed.
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

CloseSignals::CloseSignals(MainWindow& window) : QObject(&window), window_(window) {
    if (pipeFds[0] < 0 && ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        return; // the signals keep their default action
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CloseSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = onCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) ::sigaction(number, &action, nullptr);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { window_.trainer().closeQuery(); });
}

CloseSignals::~CloseSignals() {
    for (int number : kSignals) ::signal(number, SIG_DFL);
}

void CloseSignals::readPipe() {
    char bytes[16];
    while (::read(pipeFds[0], bytes, sizeof bytes) > 0) {
    }
    if (closing_) return; // a second signal while the close runs
    closing_ = true;
    window_.close();
    // Modal dialogs end too, and with them the program.
    QCoreApplication::quit();
}

} // namespace cxb
