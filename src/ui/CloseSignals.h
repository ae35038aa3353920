#pragma once
#include <QObject>

class QSocketNotifier;

namespace cxb {

class MainWindow;

// SIGTERM, SIGHUP and SIGINT (a log-out, a shutdown, a closed terminal,
// Ctrl+C) close the window the normal way, so the bank is written and the
// journal marked. The handler only writes the signal's number into a pipe;
// the close runs in the event loop. When the desktop session ends, the bank
// is written as well (the session may still be cancelled, so the window
// stays).
class CloseSignals : public QObject {
    Q_OBJECT
public:
    explicit CloseSignals(MainWindow& window);
    ~CloseSignals() override; // the signals get their default action back

private:
    void readPipe();
    MainWindow& window_;
    QSocketNotifier* notifier_ = nullptr;
    bool closing_ = false;
};

} // namespace cxb
