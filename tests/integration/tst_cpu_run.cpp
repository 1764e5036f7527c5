// A whole headless dry run watching a sleeping process's CPU usage: the
// action comes, and only after one averaging span of countdown steps.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "support/run_zenkoro.h"

using zktest::Describe;
using zktest::RunZenkoro;

class TstCpuRun : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void idleProcessActsAfterTheSpan()
    {
        // A sleeping process of a name nothing else has (the command line
        // takes the name in lower case).
        QTemporaryDir dir;
        const QString name = QStringLiteral("zk-idle-%1").arg(QCoreApplication::applicationPid());
        QVERIFY(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), dir.filePath(name)));
        QProcess sleeper;
        sleeper.start(dir.filePath(name), {QStringLiteral("600")});
        QVERIFY(sleeper.waitForStarted());

        const auto r = RunZenkoro({"--dry-run", "-auto", "-shutdown", "-time", "30", "-cpu_utl", "1", "10", "-cpu_proc",
                                   name, "-popup_time", "1"},
                                  m_home.path(), 60000);
        sleeper.kill();
        sleeper.waitForFinished();
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(lines.last().startsWith(QStringLiteral("dry-run: ExitSession")), qPrintable(Describe(r)));
        QCOMPARE(r.out.count(QStringLiteral("dry-run:")), 1);
        // The countdown steps shown before the warning: the condition cannot
        // hold within the first 10 seconds, while the first sample is in
        // after about 2 (a few steps of slack for a busy machine).
        static const QRegularExpression clock(QStringLiteral("^00:(29|30):\\d\\d$"));
        const qsizetype steps = lines.filter(clock).size();
        QVERIFY2(steps >= 7, qPrintable(Describe(r)));
    }
};

QTEST_GUILESS_MAIN(TstCpuRun)
#include "tst_cpu_run.moc"
