#include "ui/SingleInstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <system_error>
#include <unistd.h>

#include "ui/Dialogs.h"

namespace cxb {

namespace {
// How long a later start keeps trying to reach the trainer that holds the
// lock: that one listens a moment after its window is up and stops a moment
// before it gives the lock back.
constexpr int kReachMs = 3000;
// The first start listens this long after its event loop runs, off the way
// to its first question.
constexpr int kListenDelayMs = 200;

QString channelModule() { return QCoreApplication::applicationDirPath() + QStringLiteral("/cxb_instance"); }
} // namespace

SingleInstance::SingleInstance(const QString& folder) {
    if (!folder.isEmpty()) {
        if (QFileInfo(folder).isDir()) beginLocking(folder);
        return;
    }
    // The folder the application will name as its own; without /proc it is
    // known only once the application exists (claim()).
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!program.isEmpty()) beginLocking(QFileInfo(program).path());
}

SingleInstance::~SingleInstance() {
    if (locking_.joinable()) locking_.join();
    // No longer reachable first, then the lock is given back (lock_).
    delete server_;
}

void SingleInstance::beginLocking(const QString& folder) {
    folder_ = folder;
    lock_ = std::make_unique<FolderLock>(QDir(folder).path().toStdString());
    try {
        locking_ = std::thread([lock = lock_.get()] { lock->tryLock(); });
    } catch (const std::system_error&) {
        lock_->tryLock();
    }
}

QString SingleInstance::lockFilePath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(FolderLock::kFileName));
}

QString SingleInstance::serverName(const QString& folder) {
    QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty()) path = QDir(folder).absolutePath();
    QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("chixuebao-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::claim(const QString& dataFolder) {
    if (locking_.joinable()) locking_.join();
    const QString folder = dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : dataFolder;
    if (!lock_ || folder_ != folder) {
        lock_.reset();
        beginLocking(folder);
        if (locking_.joinable()) locking_.join();
    }
    QDeadlineTimer deadline(kReachMs);
    while (!lock_->isLocked()) {
        if (lock_->state() == FolderLock::State::Unavailable) {
            // No lock file can be made here (a read-only folder, a full
            // disk): the trainer runs as it would without the guard.
            qWarning("cannot make the lock file %s; starting without it", lock_->fileName().c_str());
            return true;
        }
        if (askRunningToActivate()) return false;
        if (deadline.hasExpired()) {
            // Held by a live process that does not answer (a tool such as
            // tkupgrade, or a trainer without its channel module).
            Dialogs::message(nullptr, QString::fromUtf8(kAlreadyRunning));
            return false;
        }
        QThread::msleep(20);
        lock_->tryLock();
    }
    QTimer::singleShot(kListenDelayMs, this, &SingleInstance::listen);
    return true;
}

bool SingleInstance::askRunningToActivate() const {
    using Request = bool (*)(const QString&);
    auto request = reinterpret_cast<Request>(QLibrary::resolve(channelModule(), "cxbRequestActivation"));
    return request && request(serverName(folder_));
}

void SingleInstance::listen() {
    using Listen = QObject* (*)(const QString&, QObject*);
    auto listenFor = reinterpret_cast<Listen>(QLibrary::resolve(channelModule(), "cxbListenForActivation"));
    if (!listenFor) {
        qWarning("no channel module %s: later starts in this folder cannot bring this window forward",
                 qPrintable(channelModule()));
        return;
    }
    server_ = listenFor(serverName(folder_), this);
    // The application ends before this object does; the window's close has
    // written the bank back by then.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { delete server_; });
}

void SingleInstance::raiseOnRequest(QWidget& window) { window_ = &window; }

void SingleInstance::activate() {
    if (QWidget* w = window_) {
        if (w->isMinimized()) w->showNormal();
        w->raise();
        w->activateWindow();
    }
    // A dialog that waits for an answer stays in front of the window.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
    // For tests, which have no screen to look at.
    if (qEnvironmentVariableIntValue("CXB_REPORT_ACTIVATION") == 1) {
        std::printf("activated\n");
        std::fflush(stdout);
    }
}

} // namespace cxb
