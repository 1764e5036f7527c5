// Runs the built zenkoro binary headless (no DISPLAY) with a private home
// and settings folder, and collects what it printed.
#pragma once

#include <QFileInfo>
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

// `env` without a display, with `home` as home and settings folder.
inline QProcessEnvironment ZenkoroEnvironment(const QString &home,
                                              QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("XDG_SESSION_TYPE"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    return env;
}

// Starts zenkoro at the fake local time `at` (yyyy-MM-dd hh:mm:ss) with
// faketime's `library` preloaded, the monotonic clock real so that timers run
// normally. The sanitizer build's allocator reads the clock while it hands
// out memory, and faketime's first clock call looks up the real functions,
// which allocates: the allocator would wait for itself. Without its periodic
// return of memory to the system it never reads the clock.
inline void PreloadFaketime(QProcessEnvironment &env, const QString &library, const QString &at)
{
    env.insert(QStringLiteral("LD_PRELOAD"), library);
    env.insert(QStringLiteral("FAKETIME"), QLatin1Char('@') + at);
    env.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
    env.insert(QStringLiteral("FAKETIME_NO_CACHE"), QStringLiteral("1"));
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("allocator_release_to_os_interval_ms=-1"));
}

// Waits for a started process (killed when it takes longer than timeoutMs).
inline Result Finish(QProcess &p, int timeoutMs)
{
    Result r;
    const bool finished = p.waitForFinished(timeoutMs);
    if (!finished) {
        p.kill();
        p.waitForFinished(3000);
    }
    if (finished && p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    return r;
}

// For a failure message: the exit code and both outputs.
inline QString Describe(const Result &r)
{
    return QStringLiteral("exit=%1\nstdout:\n%2\nstderr:\n%3").arg(r.exitCode).arg(r.out, r.err);
}

// workingDir: the folder the program starts in (empty = this process's).
// via: a program that runs zenkoro, with its arguments (e.g. setpriv ... --).
// env: its environment (empty = ZenkoroEnvironment(home)).
inline Result RunZenkoro(const QStringList &args, const QString &home, int timeoutMs = 30000,
                         const QString &workingDir = QString(), const QStringList &via = {},
                         const QProcessEnvironment &env = {})
{
    QProcess p;
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.setProcessEnvironment(env.isEmpty() ? ZenkoroEnvironment(home) : env);
    const QString bin = qEnvironmentVariable("ZENKORO_BIN");
    if (via.isEmpty())
        p.start(bin, args);
    else
        p.start(via.first(), via.mid(1) + QStringList{bin} + args);
    return Finish(p, timeoutMs);
}

// The library of the Debian package faketime ("" when it is not installed).
inline QString FaketimeLibrary()
{
    for (const char *dir : {"/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib"}) {
        const QString lib = QString::fromLatin1(dir) + QStringLiteral("/faketime/libfaketime.so.1");
        if (QFileInfo::exists(lib))
            return lib;
    }
    return QString();
}

// RunZenkoro with the wall clock starting at `at` ("yyyy-MM-dd hh:mm:ss",
// local time of `zone`) by faketime; monotonic time stays real.
inline Result RunZenkoroAt(const QStringList &args, const QString &home, const QString &at,
                           const QString &zone = QStringLiteral("Europe/Berlin"), int timeoutMs = 30000)
{
    QProcessEnvironment env = ZenkoroEnvironment(home);
    env.insert(QStringLiteral("TZ"), zone);
    PreloadFaketime(env, FaketimeLibrary(), at);
    return RunZenkoro(args, home, timeoutMs, QString(), {}, env);
}

}  // namespace zktest
