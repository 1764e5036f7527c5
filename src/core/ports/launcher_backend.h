// Starting programs, opening documents and folders, and the few file-system
// and window facts the application launcher asks about.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QObject;

namespace zk {

// What watching a started process found at the start of the watch.
enum class ProcessWatch {
    Running,      // it runs; its end will be reported
    Ended,        // it has already ended
    Unsupported,  // the system cannot watch processes: ask isProcessAlive() instead
};

// One top-level window of the desktop, as the process-window search sees it.
struct TopLevelWindow {
    quint64 handle = 0;
    qint64 pid = 0;
    QString className;
    QString title;
    bool visible = true;
    bool operator==(const TopLevelWindow &) const = default;
};

class LauncherBackend {
public:
    virtual ~LauncherBackend() = default;

    // Starts program with the argument list in workingDir, without a shell.
    // Returns the process id, or 0 when the process could not be started.
    virtual qint64 startProcess(const QString &program, const QStringList &arguments,
                                const QString &workingDir) = 0;
    // Whether the process still runs (a zombie counts as ended).
    virtual bool isProcessAlive(qint64 pid) = 0;
    // Watches a started process without asking again and again: with
    // Running, `ended` is called once from the event loop when the process
    // ends, unless context has been destroyed by then (context owns the watch).
    virtual ProcessWatch watchProcess(qint64 pid, QObject *context, std::function<void()> ended) = 0;

    virtual bool fileExists(const QString &path) = 0;
    virtual bool isFolder(const QString &path) = 0;
    // An existing regular file the user may execute.
    virtual bool isExecutableFile(const QString &path) = 0;
    // Full path of a program found on the search path; empty when there is none.
    virtual QString findExecutable(const QString &name) = 0;
    // The whole text of a small file; nullopt when it cannot be read.
    virtual std::optional<QString> readTextFile(const QString &path) = 0;

    // The command the desktop opens the file with, as the handler wrote it
    // (field codes such as %f or %U still in it), behind "x-terminal-emulator -e"
    // when it runs in a terminal; empty when there is none.
    virtual QString associatedCommand(const QString &path) = 0;
    // Opens a file, folder or address with the desktop's default handler.
    virtual bool openWithShell(const QString &target) = 0;

    // Value of an environment variable; nullopt when it is not set.
    virtual std::optional<QString> environment(const QString &name) = 0;
    virtual QString homeDir() = 0;

    // Brings a window of the process to the front; false when none was found.
    virtual bool activateProcessWindow(qint64 pid) = 0;
    // The top-level windows of the desktop in stacking order (empty when unknown).
    virtual QList<TopLevelWindow> topLevelWindows() = 0;
    // Moves and resizes a top-level window (pixels); false when that failed.
    virtual bool placeWindow(quint64 handle, int left, int top, int right, int bottom) = 0;
};

}  // namespace zk
