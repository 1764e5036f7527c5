// The CPU sampler over /proc with real processes.
#include "core/text.h"
#include "monitors/cpu_sampler.h"
#include "monitors/trigger.h"
#include "platform/linux/proc_cpu.h"
#include "support/fake/fake_cpu_counters.h"  // WaitForSamples

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace zk;

namespace {

// Runs a sampler over /proc with `selector` and a 5-second span, waits for
// three samples (one span) and asks the CPU condition one second after the span.
struct Watch {
    ProcCpu proc;
    CpuSampler sampler{proc, 1000};
    AppState state;
    std::unique_ptr<Trigger> trigger;
    QDateTime start = QDateTime::currentDateTime();

    explicit Watch(const QString &selector, const QString &span = QStringLiteral("5"))
    {
        state.job.MonitorEnabled = 1;
        state.job.MonitorKind = 1;
        state.job.CpuAverageSeconds = span;
        state.job.CpuLowerLimit = QStringLiteral("1");
        state.job.CpuProcess = selector;
        PlatformServices services;
        services.cpu = &sampler;
        trigger = MakeTrigger(MonitorKind::Cpu, state, services);
        trigger->start(start);
    }
    ~Watch() { trigger->stop(true); }

    bool samples(int count) { return WaitForSamples(sampler, count, 30000); }
    bool holdsAfterSpan() { return trigger->holds(start.addSecs(LeadingInt(state.job.CpuAverageSeconds) + 1)).value_or(false); }
};

}  // namespace

class TestProcCpu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void idleMeetsTheLimitBusyNever()
    {
        const std::pair<QStringList, bool> cases[] = {{{"sleep", "600"}, true},
                                                      {{"sh", "-c", "while :; do :; done"}, false}};
        for (const auto &[command, holds] : cases) {
            QProcess p;
            p.start(command.first(), command.mid(1));
            QVERIFY(p.waitForStarted());
            const qint64 pid = p.processId();
            Watch w(PadLeft(QString::number(pid), 5) + QLatin1Char(' ') + ProcCpu().processName(pid));
            QVERIFY(w.samples(3));
            QVERIFY2(w.holdsAfterSpan() == holds, qPrintable(w.sampler.shownAverageText()));
            // Once it has ended, it has no counters and no name, and reads -1.
            p.kill();
            p.waitForFinished();
            QVERIFY(w.proc.processName(pid).isEmpty());
            QVERIFY(w.samples(1));
            QCOMPARE(w.sampler.sampleText(), QStringLiteral(" -1"));
        }
    }

    // A name longer than the kernel's 15-character command name, or one that
    // begins and ends with a blank, is found as listed (in any case for "?"),
    // written into the selector with its id, and sampled as the live process
    // it is (0 for a sleeper, never the -1 of a process that has gone).
    void listFindsAProcessByItsExecutableName()
    {
        const QString longName = QStringLiteral("zenkoro-test-sleeper-%1").arg(QCoreApplication::applicationPid());
        for (const QString &name : {longName, QStringLiteral(" sp ")}) {
            QTemporaryDir dir;
            const QString exe = dir.filePath(name);
            QVERIFY(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), exe));
            QProcess p;
            p.start(exe, {QStringLiteral("600")});
            QVERIFY(p.waitForStarted());
            const QString item = PadLeft(QString::number(p.processId()), 5) + QLatin1Char(' ') + name;
            ProcCpu proc;
            QCOMPARE(proc.processName(p.processId()), name);
            CpuSampler sampler(proc, 100);
            QSignalSpy list(&sampler, &CpuSampler::processListReady);
            sampler.requestProcessList();
            QVERIFY(list.wait(10000));
            QVERIFY(list.first().at(0).toStringList().contains(item));
            QSignalSpy rewritten(&sampler, &CpuSampler::selectorRewritten);
            sampler.begin(QStringLiteral("10"), QStringLiteral(" 0.1"), QStringLiteral("? ") + name.toUpper(), true);
            QVERIFY(rewritten.wait(5000));
            QCOMPARE(rewritten.first().at(0).toString(), item);
            sampler.stop(true);

            Watch w(item, QStringLiteral("10"));
            QVERIFY(w.samples(1));
            QCOMPARE(w.sampler.sampleText(), QStringLiteral("  0"));
            p.kill();
            p.waitForFinished();
        }
    }
};

QTEST_GUILESS_MAIN(TestProcCpu)
#include "tst_proc_cpu.moc"
