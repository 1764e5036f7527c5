// A launcher backend for tests: a pretend file system, environment and
// process table, with a record of everything started or opened.
#pragma once

#include "platform/launcher_backend.h"

#include <QHash>
#include <QSet>

namespace zk {

class FakeLauncherBackend final : public LauncherBackend {
public:
    struct Started {
        QString program;
        QStringList arguments;
        QString workingDir;
        bool operator==(const Started &) const = default;
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
    QList<TopLevelWindow> windows;
    bool startFails = false;               // every start reports failure
    bool processesAlive = true;            // what isProcessAlive answers
    qint64 nextPid = 4242;

    // --- what the fake was asked to do
    QList<Started> started;
    QStringList opened;
    QList<qint64> activated;
    QList<qint64> aliveQueries;

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
    bool fileExists(const QString &path) override { return files.contains(path) || executables.contains(path) || folders.contains(path); }
    bool isFolder(const QString &path) override { return folders.contains(path); }
    bool isExecutableFile(const QString &path) override { return executables.contains(path); }
    QString findExecutable(const QString &name) override { return searchPath.value(name); }
    std::optional<QString> readTextFile(const QString &path) override
    {
        if (!fileTexts.contains(path))
            return std::nullopt;
        return fileTexts.value(path);
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
        if (!env.contains(name))
            return std::nullopt;
        return env.value(name);
    }
    QString homeDir() override { return home; }
    bool activateProcessWindow(qint64 pid) override
    {
        activated.append(pid);
        return true;
    }
    QList<TopLevelWindow> topLevelWindows() override { return windows; }
    bool placeWindow(quint64, int, int, int, int) override { return true; }
};

}  // namespace zk
