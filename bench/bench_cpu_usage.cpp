// The CPU sampler's reading of one busy process next to the kernel's own
// scheduler accounting (/proc/<pid>/schedstat: nanoseconds on a processor,
// read at the same moments as the sampler's counters), window by window.
// Target: within 2 points. Then what finding the watched process costs each
// sample, the list of every process against that one process alone.
#include "core/text.h"
#include "monitors/cpu_sampler.h"
#include "platform/linux/proc_cpu.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <ctime>

using namespace zk;

namespace {

struct Mark {
    double onCpuNs = -1;
    double monoNs = 0;
};

// ProcCpu that also takes the kernel's figure at every read.
class RecordingCounters final : public CpuCounterSource {
public:
    QList<Mark> marks;
    void listProcesses(QObject *context, std::function<void(const QList<ProcessRow> &)> done) override
    {
        m_proc.listProcesses(context, std::move(done));
    }
    QString processName(qint64 pid) override { return m_proc.processName(pid); }
    CpuCounters read(qint64 pid) override
    {
        const CpuCounters c = m_proc.read(pid);
        Mark m;
        QFile f(QStringLiteral("/proc/%1/schedstat").arg(pid));
        if (f.open(QIODevice::ReadOnly))
            m.onCpuNs = f.readAll().split(' ').value(0).toDouble();
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        m.monoNs = double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
        marks << m;
        return c;
    }

private:
    ProcCpu m_proc;
};

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QProcess busy;
    busy.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
    if (!busy.waitForStarted())
        return 1;
    const qint64 pid = busy.processId();

    RecordingCounters counters;
    QString name;
    for (const ProcessRow &r : ProcCpu::processes())
        if (r.pid == pid)
            name = r.name;
    CpuSampler sampler(counters);
    std::printf("busy process %lld (%s), %d windows of %d s\n", static_cast<long long>(pid), qPrintable(name), rounds,
                kCpuSampleWindowSeconds);
    std::printf("%6s %10s %10s %10s\n", "window", "sampler %", "kernel %", "diff");

    int done = 0;
    double worst = 0;
    QEventLoop loop;
    QObject::connect(&sampler, &CpuSampler::textsChanged, [&](const QString &sample) {
        if (sample.isEmpty() || sample == QLatin1String(" start"))
            return;
        // The last two reads are this window's start and end.
        const Mark a = counters.marks.value(counters.marks.size() - 2);
        const Mark b = counters.marks.last();
        const double ours = LeadingNumber(sample);
        const double kernel = std::min(100.0, 100.0 * (b.onCpuNs - a.onCpuNs) / (b.monoNs - a.monoNs));
        worst = std::max(worst, std::fabs(ours - kernel));
        std::printf("%6d %10.3f %10.3f %+10.3f\n", ++done, ours, kernel, ours - kernel);
        std::fflush(stdout);
        if (done == rounds)
            loop.quit();
    });
    sampler.begin(QStringLiteral("10"), QStringLiteral("1"), PadLeft(QString::number(pid), 5) + QLatin1Char(' ') + name,
                  true);
    loop.exec();
    sampler.stop(true);
    busy.kill();
    busy.waitForFinished();
    std::printf("largest difference: %.3f points (target: within 2)\n", worst);

    // What finding the watched process costs each sample: the way it was
    // done before (the list of every process, sorted, searched) next to the
    // way it is done now (the name of that one process), and the cheapest
    // listing there is (every /proc/<pid>/comm) for scale.
    constexpr int kSamples = 200;
    const QString selector = PadLeft(QString::number(QCoreApplication::applicationPid()), 5) + QLatin1Char(' ') +
                             ProcCpu().processName(QCoreApplication::applicationPid());
    const ProcessSelectorParts parts = SplitProcessSelector(selector);
    ProcCpu proc;
    QElapsedTimer t;
    t.start();
    qsizetype rows = 0;
    qint64 foundBefore = 0;
    for (int i = 0; i < kSamples; ++i) {
        const QList<ProcessRow> all = ProcCpu::processes();
        rows = all.size();
        QString n = parts.name;
        foundBefore = FindProcessId(SortProcesses(all), parts.pidText, n);
        proc.read(foundBefore);
    }
    const double beforeMs = double(t.nsecsElapsed()) / 1e6 / kSamples;
    t.restart();
    qint64 foundAfter = 0;
    for (int i = 0; i < kSamples; ++i) {
        const qint64 id = parts.pidText.toLongLong();
        QString n = parts.name;
        foundAfter = FindProcessId({ProcessRow{proc.processName(id), id}}, parts.pidText, n);
        proc.read(foundAfter);
    }
    const double afterMs = double(t.nsecsElapsed()) / 1e6 / kSamples;
    t.restart();
    qsizetype comms = 0;
    for (int i = 0; i < kSamples; ++i) {
        comms = 0;
        for (const QString &d : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile f(QStringLiteral("/proc/") + d + QStringLiteral("/comm"));
            if (d.front().isDigit() && f.open(QIODevice::ReadOnly) && !f.readAll().isEmpty())
                ++comms;
        }
    }
    const double commMs = double(t.nsecsElapsed()) / 1e6 / kSamples;
    std::printf("finding the watched process, per sample, among %lld processes (found: %s):\n",
                static_cast<long long>(rows), foundBefore > 0 && foundAfter == foundBefore ? "yes, both" : "NO");
    std::printf("%28s %28s %28s\n", "before: list of every one", "now: the watched one only", "comm-only listing");
    std::printf("%25.3f ms %25.3f ms %25.3f ms\n", beforeMs, afterMs, commMs);
    return 0;
}
