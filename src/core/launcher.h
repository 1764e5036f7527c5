// Starting an application from a command text: splitting and unquoting,
// resolving the program path (environment variables, relative paths, the
// home folder), folders, shortcuts and documents opened through the desktop's
// file associations, the short wait until the new process runs, and the
// error notice shown when a start fails.
#pragma once

#include "core/clock.h"
#include "core/ports/launcher_backend.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace zk {

// Which double quotes Unquote takes off.
enum class QuoteStrip {
    // Outer quotes, repeatedly, while the text is at least two characters long
    // and both starts and ends with one. Other texts come back as they were
    // (untrimmed).
    Enclosing,
    // The text trimmed; when it starts with a quote, its first and last
    // characters (once, whatever the last one is).
    Leading,
};
QString Unquote(const QString &text, QuoteStrip strip = QuoteStrip::Enclosing);
// The text from the last "." to the end (the dot included) of the unquoted
// path; empty when the file name has no dot.
QString PathExtension(const QString &path);
// The quoting rule of a command text.
enum class ArgumentQuoting {
    // Parameters typed for a program: spaces and tabs separate, double quotes
    // group (and are removed). There is no escape character.
    Plain,
    // The Exec value of a desktop entry: line breaks separate too, and inside
    // quotes a backslash escapes ", `, $ and \ .
    DesktopExec,
};
// Splits a command text into program arguments by the quoting rule.
QStringList SplitArguments(const QString &text, ArgumentQuoting quoting = ArgumentQuoting::Plain);
// Removes "." segments and resolves ".." segments without touching the disk.
// ".." never climbs above the root of an absolute path.
QString NormalizePath(const QString &path);

// The message of the notice shown when an application could not be started.
struct LaunchErrorNotice {
    QString title;
    QString text;
};
LaunchErrorNotice LaunchErrorMessage(const QString &program, const QString &parameters);

// The window search of FindProcessWindow over a list of top-level windows.
// Returns the handle when exactly one candidate remains, else 0. list gets one
// line per candidate ("handle<TAB>class<TAB>title" + CRLF), or the failure
// text when there is none.
quint64 FindProcessWindow(const QList<TopLevelWindow> &windows, qint64 pid, QString &list);
// Its Japanese source; the list gets the translation.
inline constexpr const char *kWindowNotFoundSource =
    QT_TRANSLATE_NOOP("Launcher", "ウィンドウハンドルの特定に失敗\r\n再度、行って見て下さい。");
inline const QString kWindowNotFoundText = QString::fromUtf8(kWindowNotFoundSource);

class Launcher : public QObject {
    Q_OBJECT
public:
    // programFolder: the folder of the executable; the base of relative paths
    // and the working folder of the programs started.
    Launcher(LauncherBackend &backend, const Clock &clock, QString programFolder, QObject *parent = nullptr);

    QString programFolder() const { return m_programFolder; }

    // Starts a program, opens a folder or document, or runs a shortcut.
    // 0 = failure; 1 = a shortcut or folder was opened (or a document handed
    // to the desktop); otherwise the process id. program comes back
    // unquoted; for a document parameters come back as its (quoted) path.
    qint64 launchApplication(QString &program, QString &parameters);
    // The same for a whole command text ("program parameters"; line breaks
    // count as spaces). program/parameters receive what launchApplication left.
    qint64 launchCommand(const QString &commandText, QString *program = nullptr, QString *parameters = nullptr);

    // The absolute path of path against base (empty base = program folder).
    QString resolvePath(const QString &path, const QString &base = QString()) const;
    // path relative to base where possible (empty base = program folder).
    QString makeRelativePath(const QString &path, const QString &base = QString()) const;

    // The command the file opens with, field codes removed; empty = run the file itself.
    QString associatedCommand(const QString &path) const;

    // Opens a target with the desktop's default handler.
    bool openWithShell(const QString &target);

    // The main window of a process (see the free function above).
    quint64 findProcessWindow(qint64 pid, QString &list);
    bool placeWindow(quint64 handle, int left, int top, int right, int bottom);

    int pendingWaits() const { return int(m_pending.size()); }

Q_SIGNALS:
    // A started process ran (running = true, its window was then activated) or
    // did not report itself running within the wait.
    void processSettled(qint64 pid, bool running);
    // A started process has ended (after its processSettled). Only where the
    // system lets the launcher watch processes.
    void processEnded(qint64 pid);

private:
    struct Pending {
        qint64 pid;
        QDateTime deadline;
        bool watched;  // the backend reports the end: no need to ask again
        bool ended;
    };
    QStringList associatedTokens(const QString &path, QString *text) const;
    qint64 runShortcut(const QString &path);
    qint64 openFolder(const QString &full);
    void watch(qint64 pid);
    void checkPending();
    void onProcessEnded(qint64 pid);
    QString expandVariables(const QString &text) const;

    // How long a new process gets to report itself running.
    static constexpr int kRunWaitMs = 1000;

    LauncherBackend &m_backend;
    const Clock &m_clock;
    QString m_programFolder;
    QList<Pending> m_pending;
    QTimer m_waitTimer;
};

}  // namespace zk
