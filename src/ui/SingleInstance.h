#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <thread>

#include "data/FolderLock.h"

class QWidget;

namespace cxb {

// One trainer per program folder. The bank and the state file are read
// whole at start and written whole later, so a second trainer on the same
// folder would write its stale copy over the first one's answers. The first
// start holds the folder's lock (FolderLock, which tkupgrade takes as well)
// and, once its window is up, listens
// on a local socket named after the folder (the channel module beside the
// program); a later start asks it to come to the front and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Begins taking the lock of `folder` (the program's own when empty) on
    // another thread, so that writing the lock file overlaps the start of
    // the application. A folder that does not exist yet is left alone: the
    // start makes it and claims it then.
    explicit SingleInstance(const QString& folder = QString());
    ~SingleInstance() override;

    // Needs the application. `dataFolder` is the folder the trainer works
    // in, the program's own by default. True when this start goes on: it
    // holds the folder's lock (or no lock file can be made there, as on a read-only
    // medium). False when a trainer already runs there: it has been asked to
    // come to the front, or, when it cannot be reached, a message says so.
    bool claim(const QString& dataFolder = QString());
    // Raises and activates `window` whenever a later start asks.
    void raiseOnRequest(QWidget& window);

    static QString lockFilePath(const QString& folder);
    // The same for every start in the folder, different for other folders
    // and other users.
    static QString serverName(const QString& folder);

    static constexpr const char* kAlreadyRunning = "驰学宝已经在这个文件夹中运行，请使用已经打开的窗口。";

private:
    // Called by the channel module for each request of a later start.
    Q_INVOKABLE void activate();

    void beginLocking(const QString& folder);
    bool askRunningToActivate() const;
    void listen();

    QString folder_;
    std::unique_ptr<FolderLock> lock_;
    std::thread locking_;
    QPointer<QObject> server_;
    QPointer<QWidget> window_;
};

} // namespace cxb
