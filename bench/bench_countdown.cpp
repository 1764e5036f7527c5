// Cost of a headless countdown and punctuality of the power action.
//
// 1. Runs `zenkoro -auto -reboot -time 1` headless (a 60-second countdown)
//    against python3-dbusmock's logind on a private system bus and prints the
//    CPU time, peak RSS and wake-ups (context switches) per second of the
//    whole process, from the child's rusage.
// 2. Runs `zenkoro -auto -reboot -time 0 -zero_time 2` ten times and prints
//    the delay between the target time (spawn + 2 s) and the moment the mock
//    logs the Reboot call: median and maximum. The figure includes the
//    process start-up before the run is planned, so it is an upper bound.
//
// Usage: bench_countdown [--runs N] [--minutes M]
#include "support/logind_mock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct ChildResult {
    bool ok = false;
    int exitCode = -1;
    double started = 0;  // seconds since the epoch, just before the spawn
    double ended = 0;
    rusage usage{};
};

// Spawns zenkoro with the environment of the private bus, headless, output
// discarded, and waits for it with wait4 to get its whole rusage.
ChildResult RunZenkoro(const QStringList &args, const QProcessEnvironment &env)
{
    ChildResult r;
    std::vector<QByteArray> argStore;
    argStore.push_back(QByteArrayLiteral(ZENKORO_BIN));
    for (const QString &a : args)
        argStore.push_back(a.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<QByteArray> envStore;
    for (const QString &kv : env.toStringList())
        envStore.push_back(kv.toUtf8());
    std::vector<char *> envp;
    for (QByteArray &e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    r.started = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return r;
    int status = 0;
    if (wait4(pid, &status, 0, &r.usage) != pid)
        return r;
    r.ended = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    r.ok = WIFEXITED(status);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

double Seconds(const timeval &tv)
{
    return double(tv.tv_sec) + double(tv.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 10;
    int minutes = 1;
    const QStringList a = app.arguments();
    for (int i = 1; i + 1 < a.size(); ++i) {
        if (a[i] == QLatin1String("--runs"))
            runs = std::max(1, a[i + 1].toInt());
        else if (a[i] == QLatin1String("--minutes"))
            minutes = std::max(1, a[i + 1].toInt());
    }

    zktest::LogindMock mock;
    if (!mock.startBus() || !mock.startLogind()) {
        std::fprintf(stderr, "bench_countdown: %s\n", qPrintable(mock.error()));
        return 1;
    }
    QTemporaryDir home;
    QProcessEnvironment env = mock.environment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    const QStringList conf{QStringLiteral("--conf"), home.path() + QStringLiteral("/Conf.txt")};

    // 1. A whole countdown.
    mock.clearCalls();
    const ChildResult c =
        RunZenkoro(conf + QStringList{"-auto", "-reboot", "-time", QString::number(minutes)}, env);
    const double runtime = c.ended - c.started;
    const double user = Seconds(c.usage.ru_utime);
    const double sys = Seconds(c.usage.ru_stime);
    const long switches = c.usage.ru_nvcsw + c.usage.ru_nivcsw;
    const qsizetype reboots = mock.calls(QStringLiteral("Reboot")).size();
    std::printf("countdown of %d min (-auto -reboot -time %d), headless, logind mock on a private bus\n", minutes,
                minutes);
    std::printf("  exit code            %d\n", c.exitCode);
    std::printf("  runtime              %.2f s\n", runtime);
    std::printf("  CPU                  %.3f s (user %.3f, system %.3f) = %.3f %% of one core\n", user + sys, user,
                sys, runtime > 0 ? 100.0 * (user + sys) / runtime : 0.0);
    std::printf("  peak RSS             %.1f MiB\n", double(c.usage.ru_maxrss) / 1024.0);
    std::printf("  wake-ups             %.2f /s (%ld voluntary + %ld involuntary context switches)\n",
                runtime > 0 ? double(switches) / runtime : 0.0, long(c.usage.ru_nvcsw), long(c.usage.ru_nivcsw));
    std::printf("  Reboot calls         %lld%s\n", static_cast<long long>(reboots),
                reboots == 1 ? "" : "   <- expected exactly 1");

    // 2. Punctuality.
    std::vector<double> delays;
    int missing = 0;
    for (int i = 0; i < runs; ++i) {
        mock.clearCalls();
        const qsizetype before = mock.loggedCalls(QStringLiteral("Reboot")).size();
        const ChildResult r = RunZenkoro(conf + QStringList{"-auto", "-reboot", "-time", "0", "-zero_time", "2"}, env);
        const auto logged = mock.loggedCalls(QStringLiteral("Reboot"));
        if (!r.ok || logged.size() != before + 1) {
            ++missing;
            continue;
        }
        delays.push_back((logged.last().time - (r.started + 2.0)) * 1000.0);
    }
    std::printf("target time -> logind Reboot call, %d runs of -auto -reboot -time 0 -zero_time 2\n", runs);
    if (delays.empty()) {
        std::printf("  no Reboot call was made (%d runs without one)\n", missing);
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    const size_t n = delays.size();
    const double median = n % 2 ? delays[n / 2] : (delays[n / 2 - 1] + delays[n / 2]) / 2.0;
    std::printf("  median %.0f ms, max %.0f ms, min %.0f ms (includes process start-up)%s\n", median, delays.back(),
                delays.front(), missing ? qPrintable(QStringLiteral("; %1 runs without a call").arg(missing)) : "");
    return missing ? 1 : 0;
}
