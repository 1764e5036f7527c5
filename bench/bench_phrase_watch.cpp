// What watching the screen for a phrase costs, side by side under one Xvfb
// with the accessibility bus: the zenkoro binary (--dry-run -auto -shutdown
// -popup_time 0 -appear PHRASE, in its window), a minimal once-a-second
// polling scanner (phrase_poll_scanner) and nothing, each with 20 and then
// 100 zenity dialogs open.
//
// Columns, per 60 s (utime + stime deltas of /proc/<pid>/stat, scaled to
// 60 s when the window is shorter): the watcher's own CPU, the accessibility
// bus (at-spi2-registryd and the bus's dbus-daemon), the watched dialogs; the
// watcher's RSS; and the delay from the map of a new dialog holding the phrase
// to the watcher's answer (zenkoro: its dry-run line; the scanner: its
// "found"), median and max over --rounds new dialogs.
// The targets are printed as ratios to the scanner of the same run. A missed
// target is a figure, not a failure: the exit status is non-zero only when the
// harness itself cannot run.
//
// Usage: bench_phrase_watch [--seconds S] [--rounds N] [--settle S] [--quick]
//   --seconds  measuring window of each CPU row (default 60)
//   --rounds   new dialogs per delay figure (default 8)
//   --settle   seconds a watcher gets to start before a figure (default 5)
//   --quick    a short check: --seconds 10
#include "support/a11y_desktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

struct Options {
    int seconds = 60;
    int rounds = 8;
    int settle = 5;
};

[[noreturn]] void Fail(const QString &why)
{
    std::fprintf(stderr, "bench_phrase_watch: %s\n", qPrintable(why));
    std::fflush(stdout);
    ::_exit(1);
}

// --- /proc --------------------------------------------------------------

QByteArray ReadProc(qint64 pid, const char *file)
{
    QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// utime + stime in milliseconds; 0 once the process is gone.
qint64 CpuMs(qint64 pid)
{
    const QByteArray stat = ReadProc(pid, "stat");
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return 0;
    const QList<QByteArray> f = stat.mid(close + 2).split(' ');  // f[0] is field 3 (state)
    if (f.size() < 13)
        return 0;
    static const long hz = ::sysconf(_SC_CLK_TCK);
    return (f[11].toLongLong() + f[12].toLongLong()) * 1000 / hz;
}

qint64 RssKiB(qint64 pid)
{
    for (const QByteArray &line : ReadProc(pid, "status").split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

// The accessibility bus of this run: its dbus-daemon and at-spi2-registryd,
// as the bus itself names them.
QList<qint64> BusProcesses()
{
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                      QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    const QDBusReply<QString> address = QDBusConnection::sessionBus().call(ask);
    if (!address.isValid())
        return {};
    QDBusConnection bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y-bench"));
    QList<qint64> out;
    for (const QString &name : {QStringLiteral("org.freedesktop.DBus"), QStringLiteral("org.a11y.atspi.Registry")}) {
        const QDBusReply<uint> pid = bus.interface()->servicePid(name);
        if (pid.isValid() && pid.value() > 0)
            out.push_back(pid.value());
    }
    return out;
}

qint64 SumCpu(const QList<qint64> &pids)
{
    qint64 s = 0;
    for (qint64 p : pids)
        s += CpuMs(p);
    return s;
}

// --- the desktop ----------------------------------------------------------

class Bench {
public:
    explicit Bench(Options o) : m_opt(o) {}

    void start()
    {
        if (!m_desktop.start())
            Fail(m_desktop.error());
        m_desktop.exportToProcess();
        m_x = XOpenDisplay(m_desktop.display().toLocal8Bit().constData());
        if (!m_x)
            Fail(QStringLiteral("cannot open display ") + m_desktop.display());
        XSelectInput(m_x, DefaultRootWindow(m_x), SubstructureNotifyMask);
        XSync(m_x, False);
        m_scanner = QCoreApplication::applicationDirPath() + QStringLiteral("/phrase_poll_scanner");
        if (!QFile::exists(m_scanner))
            Fail(QStringLiteral("no ") + m_scanner);
        if (!QFile::exists(QStringLiteral(ZENKORO_BIN)))
            Fail(QStringLiteral("no " ZENKORO_BIN));
    }

    // Opens dialogs until count are on show, then lets the bus settle.
    void openDialogs(int count)
    {
        drainMaps();
        const int before = int(m_dialogs.size());
        for (int i = before; i < count; ++i)
            m_dialogs.push_back(m_desktop.dialog(QStringLiteral("Window %1").arg(i),
                                                 QStringLiteral("Status %1: all quiet").arg(i)));
        int mapped = 0;
        QDeadlineTimer deadline(180000);
        while (mapped < count - before && !deadline.hasExpired())
            mapped += int(drainMaps());
        if (mapped < count - before)
            Fail(QStringLiteral("only %1 of %2 dialogs came on show").arg(mapped).arg(count - before));
        QThread::sleep(3);
    }

    enum class Watcher { Nothing, Zenkoro, Scanner };

    struct Row {
        QString name;
        double own = 0, bus = 0, apps = 0;
        double rssMiB = 0;
        std::vector<double> delays;
        int missed = 0;
        double total() const { return own + bus + apps; }
    };

    Row measure(Watcher w, int dialogs)
    {
        Row row;
        row.name = QStringLiteral("%1, %2 dialogs")
                       .arg(w == Watcher::Nothing   ? QStringLiteral("nothing watching")
                            : w == Watcher::Zenkoro ? QStringLiteral("zenkoro")
                                                    : QStringLiteral("1 Hz polling scanner"))
                       .arg(dialogs);
        std::fprintf(stderr, "measuring: %s\n", qPrintable(row.name));
        QProcess *p = w == Watcher::Nothing ? nullptr : launch(w, QStringLiteral("zkbench-nowhere"), false);
        QThread::sleep(unsigned(m_opt.settle));
        const QList<qint64> bus = BusProcesses();
        if (bus.size() != 2)
            Fail(QStringLiteral("the accessibility bus and its registry are not both found"));
        QList<qint64> apps;
        for (QProcess *d : m_dialogs)
            apps.push_back(d->processId());
        const qint64 pid = p ? p->processId() : 0;
        const qint64 own0 = p ? CpuMs(pid) : 0, bus0 = SumCpu(bus), apps0 = SumCpu(apps);
        QElapsedTimer span;
        span.start();
        QThread::sleep(unsigned(m_opt.seconds));
        const qint64 own1 = p ? CpuMs(pid) : 0, bus1 = SumCpu(bus), apps1 = SumCpu(apps);
        const double scale = 60000.0 / double(span.elapsed());
        if (p && p->state() != QProcess::Running)
            Fail(row.name + QStringLiteral(": the watcher ended during the measure"));
        row.own = double(own1 - own0) * scale;
        row.bus = double(bus1 - bus0) * scale;
        row.apps = double(apps1 - apps0) * scale;
        row.rssMiB = p ? double(RssKiB(pid)) / 1024.0 : 0;
        stop(p);
        if (w != Watcher::Nothing)
            for (int r = 0; r < m_opt.rounds; ++r) {
                const std::optional<double> d = delay(w);
                if (d)
                    row.delays.push_back(*d);
                else
                    ++row.missed;
            }
        return row;
    }

private:
    QProcess *launch(Watcher w, const QString &phrase, bool readOutput)
    {
        auto *p = new QProcess;
        QProcessEnvironment env = m_desktop.environment();
        if (w == Watcher::Zenkoro) {
            env.insert(QStringLiteral("HOME"), m_home.path());
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path() + QStringLiteral("/config"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        }
        p->setProcessEnvironment(env);
        p->setStandardErrorFile(QProcess::nullDevice());
        if (!readOutput)
            p->setStandardOutputFile(QProcess::nullDevice());
        if (w == Watcher::Zenkoro)
            p->start(QStringLiteral(ZENKORO_BIN),
                     {QStringLiteral("--conf"), m_home.path() + QStringLiteral("/Conf.txt"), QStringLiteral("--dry-run"),
                      QStringLiteral("-auto"), QStringLiteral("-shutdown"), QStringLiteral("-popup_time"), QStringLiteral("0"),
                      QStringLiteral("-appear"), phrase});
        else
            p->start(m_scanner, {phrase});
        if (!p->waitForStarted(10000))
            Fail(QStringLiteral("cannot start ") + p->program());
        return p;
    }

    static void stop(QProcess *p)
    {
        if (!p)
            return;
        p->terminate();
        if (!p->waitForFinished(5000)) {
            p->kill();
            p->waitForFinished(2000);
        }
        delete p;
    }

    // Top-level maps seen since the last call.
    int drainMaps(QElapsedTimer *firstAt = nullptr, qint64 *firstNs = nullptr)
    {
        int maps = 0;
        while (XPending(m_x)) {
            XEvent e;
            XNextEvent(m_x, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) {
                if (maps == 0 && firstAt && firstNs)
                    *firstNs = firstAt->nsecsElapsed();
                ++maps;
            }
        }
        if (maps == 0 && !firstAt)
            QThread::msleep(20);
        return maps;
    }

    // One new dialog holding a fresh phrase: milliseconds from its map to the
    // watcher's answer, none when the watcher does not answer within 30 s.
    std::optional<double> delay(Watcher w)
    {
        const QString phrase = QStringLiteral("zkprobe%1x").arg(++m_probes);
        QProcess *p = launch(w, phrase, true);
        QByteArray out;
        QDeadlineTimer ready(m_opt.settle * 1000 + 60000);
        if (w == Watcher::Scanner) {
            while (!out.contains("ready\n") && !ready.hasExpired() && p->state() == QProcess::Running)
                if (p->waitForReadyRead(200))
                    out += p->readAllStandardOutput();
            if (!out.contains("ready\n"))
                Fail(QStringLiteral("the polling scanner did not get ready"));
        } else {
            QThread::sleep(unsigned(m_opt.settle));
        }
        drainMaps();
        const QByteArray answer = w == Watcher::Zenkoro ? QByteArrayLiteral("dry-run: ") : QByteArrayLiteral("found ");
        QElapsedTimer clock;
        clock.start();
        QProcess *dialog = m_desktop.dialog(QStringLiteral("Probe %1").arg(m_probes), QStringLiteral("Job %1 finished").arg(phrase));
        qint64 mapNs = -1, answerNs = -1;
        QDeadlineTimer deadline(30000);
        while ((mapNs < 0 || answerNs < 0) && !deadline.hasExpired()) {
            if (mapNs < 0)
                drainMaps(&clock, &mapNs);
            if (answerNs < 0) {
                if (p->waitForReadyRead(2) || p->bytesAvailable() > 0)
                    out += p->readAllStandardOutput();
                if (out.contains(answer))
                    answerNs = clock.nsecsElapsed();
                else if (p->state() != QProcess::Running)
                    break;
            }
        }
        stop(p);
        zktest::A11yDesktop::close(dialog);
        if (mapNs < 0)
            Fail(QStringLiteral("the probe dialog did not come on show"));
        if (answerNs < 0) {
            std::fprintf(stderr, "  no answer for %s within 30 s\n", qPrintable(phrase));
            return std::nullopt;
        }
        return double(std::max<qint64>(0, answerNs - mapNs)) / 1e6;
    }

    Options m_opt;
    zktest::A11yDesktop m_desktop;
    QTemporaryDir m_home;
    Display *m_x = nullptr;
    QString m_scanner;
    std::vector<QProcess *> m_dialogs;
    int m_probes = 0;
};

struct Stats {
    double median = -1, max = -1;
};
Stats Summarise(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.back()};
}

void PrintRow(const Bench::Row &r)
{
    const Stats s = Summarise(r.delays);
    QString delay = QStringLiteral("—");
    if (s.median >= 0)
        delay = QStringLiteral("%1 / %2").arg(s.median, 0, 'f', 0).arg(s.max, 0, 'f', 0);
    if (r.missed)
        delay += QStringLiteral(" (%1 missed)").arg(r.missed);
    std::printf("%-34s %8.0f %8.0f %8.0f %8.0f %7.1f  %s\n", qPrintable(r.name), r.own, r.bus, r.apps, r.total(), r.rssMiB,
                qPrintable(delay));
    std::fflush(stdout);
}

double Ratio(double a, double b)
{
    return b > 0 ? a / b : -1;
}

void PrintTarget(const char *what, double ratio, double limit, const QString &detail, bool extra = true)
{
    const bool known = ratio >= 0;
    std::printf("  %-46s %s  (target <= %.2fx)  %s   [%s]\n", what,
                known ? qPrintable(QStringLiteral("%1x").arg(ratio, 0, 'f', 3)) : "n/a", limit,
                !known ? "unknown" : (ratio <= limit && extra ? "met" : "NOT met"), qPrintable(detail));
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options o;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        const int value = i + 1 < args.size() ? args[i + 1].toInt() : 0;
        if (a == QLatin1String("--quick"))
            o.seconds = 10;
        else if (a == QLatin1String("--seconds") && value > 0)
            o.seconds = value, ++i;
        else if (a == QLatin1String("--rounds") && value > 0)
            o.rounds = value, ++i;
        else if (a == QLatin1String("--settle") && value > 0)
            o.settle = value, ++i;
        // Other options belong to the other benchmarks of ./zk bench.
    }
    QElapsedTimer took;
    took.start();
    Bench bench(o);
    bench.start();

    std::printf("phrase watching, CPU per 60 s (measured over %d s each), delay over %d new dialogs\n", o.seconds, o.rounds);
    std::printf("%-34s %8s %8s %8s %8s %7s  %s\n", "watching", "own ms", "bus ms", "apps ms", "total ms", "RSS MiB",
                "delay median / max ms");
    std::fflush(stdout);
    QHash<QString, Bench::Row> rows;
    for (int dialogs : {20, 100}) {
        bench.openDialogs(dialogs);
        for (auto [w, key] : {std::pair{Bench::Watcher::Nothing, "nothing"}, {Bench::Watcher::Zenkoro, "zenkoro"},
                              {Bench::Watcher::Scanner, "scanner"}}) {
            const Bench::Row r = bench.measure(w, dialogs);
            PrintRow(r);
            rows.insert(QStringLiteral("%1 %2").arg(QLatin1String(key)).arg(dialogs), r);
        }
    }

    std::printf("targets, as ratios to the polling scanner of this run:\n");
    const Bench::Row &z20 = rows[QStringLiteral("zenkoro 20")], &z100 = rows[QStringLiteral("zenkoro 100")];
    const Bench::Row &s100 = rows[QStringLiteral("scanner 100")];
    PrintTarget("total CPU, 100 dialogs", Ratio(z100.total(), s100.total()), 0.15,
                QStringLiteral("%1 vs %2 ms/60 s").arg(z100.total(), 0, 'f', 0).arg(s100.total(), 0, 'f', 0));
    for (int dialogs : {20, 100}) {
        const Bench::Row &z = rows[QStringLiteral("zenkoro %1").arg(dialogs)];
        const Bench::Row &s = rows[QStringLiteral("scanner %1").arg(dialogs)];
        const Stats zs = Summarise(z.delays), ss = Summarise(s.delays);
        const bool allSeen = z.missed == 0 && zs.median >= 0 && zs.median < 500;
        PrintTarget(dialogs == 20 ? "detection delay median, 20 dialogs" : "detection delay median, 100 dialogs",
                    zs.median >= 0 && ss.median > 0 ? zs.median / ss.median : -1, 0.30,
                    QStringLiteral("%1 vs %2 ms; also needs < 500 ms and none missed")
                        .arg(zs.median, 0, 'f', 0)
                        .arg(ss.median, 0, 'f', 0),
                    allSeen);
    }
    PrintTarget("idle cost, zenkoro 100 / 20 dialogs", Ratio(z100.total(), z20.total()), 2.0,
                QStringLiteral("%1 vs %2 ms/60 s").arg(z100.total(), 0, 'f', 0).arg(z20.total(), 0, 'f', 0));
    std::printf("whole run: %.0f s\n", double(took.elapsed()) / 1000.0);
    return 0;
}
