// A launcher backend for tests: a pretend file system, environment and
// process table, with a record of everything started or opened.
#pragma once

#include "core/ports/launcher_backend.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>

namespace zk {

class FakeLauncherBackend final : public LauncherBackend {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingDir;
    };

    // --- what the fake knows
    QSet<QString> files;                   // existing regular files
    QSet<QString> executables;             // existing files the user may run
    QSet<QString> folders;                 // existing folders
    QHash<QString, QString> fileTexts;     // readable file contents
    QHash<QString, QString> searchPath;    // program name -> full path
    QHash<QString, QString> associations;  // lower-case extension (".txt") -> handler command
    QHash<QString, QString> env;
    QString home = QStringLiteral("/home/user");
    bool startFails = false;               // every start reports failure
    bool processesAlive = true;            // what isProcessAlive answers
    ProcessWatch watchAnswer = ProcessWatch::Unsupported;  // what watchProcess answers
    qint64 nextPid = 4242;

    // --- what the fake was asked to do
    QList<Started> started;
    QStringList opened;
    QList<qint64> activated;
    QList<qint64> aliveQueries;
    QHash<qint64, std::function<void()>> watches;  // pid -> its end, for Running watches

    qint64 startProcess(const QString &program, const QStringList &arguments, const QString &workingDir) override
    {
        started.append({program, arguments, workingDir});
        return startFails ? 0 : nextPid++;
    }
    bool isProcessAlive(qint64 pid) override
    {
        aliveQueries.append(pid);
        return processesAlive;
    }
    ProcessWatch watchProcess(qint64 pid, QObject *context, std::function<void()> ended) override
    {
        if (watchAnswer == ProcessWatch::Running) {
            const QPointer<QObject> guard(context);
            watches.insert(pid, [guard, ended = std::move(ended)] {
                if (guard)
                    ended();
            });
        }
        return watchAnswer;
    }
    // A watched process ends.
    void endProcess(qint64 pid)
    {
        if (const auto end = watches.take(pid))
            end();
    }
    bool fileExists(const QString &path) override { return files.contains(path) || executables.contains(path) || folders.contains(path); }
    bool isFolder(const QString &path) override { return folders.contains(path); }
    bool isExecutableFile(const QString &path) override { return executables.contains(path); }
    QString findExecutable(const QString &name) override { return searchPath.value(name); }
    std::optional<QString> readTextFile(const QString &path) override
    {
        return fileTexts.contains(path) ? std::optional(fileTexts.value(path)) : std::nullopt;
    }
    QString associatedCommand(const QString &path) override
    {
        const int dot = path.lastIndexOf(QLatin1Char('.'));
        return dot < 0 ? QString() : associations.value(path.mid(dot).toLower());
    }
    bool openWithShell(const QString &target) override
    {
        opened.append(target);
        return !startFails;
    }
    std::optional<QString> environment(const QString &name) override
    {
        return env.contains(name) ? std::optional(env.value(name)) : std::nullopt;
    }
    QString homeDir() override { return home; }
    bool activateProcessWindow(qint64 pid) override
    {
        activated.append(pid);
        return true;
    }
    QList<TopLevelWindow> topLevelWindows() override { return {}; }
    bool placeWindow(quint64, int, int, int, int) override { return true; }
};

}  // namespace zk
