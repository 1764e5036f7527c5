// Runs the built zenkoro binary headless (no DISPLAY) with a private home
// and settings folder, and collects what it printed.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace zktest {

struct Result {
    int exitCode = -1;  // -1: did not finish in time, or crashed
    QJsonObject json;   // standard output read as a JSON object (--explain)
    QString out;
    QString err;
};

// workingDir: the folder the program starts in (empty = this process's).
inline Result RunZenkoro(const QStringList &args, const QString &home, int timeoutMs = 30000,
                         const QString &workingDir = QString())
{
    QProcess p;
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("ZENKORO_BIN"), args);
    Result r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    return r;
}

}  // namespace zktest
