// Whole runs of the real binary without a display, in dry-run mode: what a
// script that starts zenkoro sees on its standard output, standard error and
// exit status.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "support/run_zenkoro.h"

using zktest::Describe;
using zktest::RunZenkoro;

class TstHeadlessRun : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    // The first countdown line comes at start with the whole span, before the
    // first tick (on the next whole second of the clock) takes time off it.
    void countdownWarnsThenActs()
    {
        const auto r = zktest::RunZenkoroAt({"--dry-run", "-auto", "-reboot", "-time", "0", "-zero_time", "3"},
                                            m_home.path(), QStringLiteral("2026-12-07 11:59:57"));
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(lines.size() >= 4 && lines.at(1) == QStringLiteral("00:00:03"), qPrintable(r.out));
        QVERIFY2(lines.contains(QStringLiteral("00:00:02")), qPrintable(r.out));
        QVERIFY2(lines.contains(QStringLiteral("･･まもなく再起動")), qPrintable(r.out));
        // The action is the last thing, and it happens once.
        QVERIFY(lines.last().startsWith(QStringLiteral("dry-run: ExitSession flags=2")));
        QCOMPARE(r.out.count(QStringLiteral("dry-run: ExitSession")), 1);
    }

    // A weekday the run excludes is said on standard error; without -auto
    // only the caption is printed. Neither acts.
    void runsThatDoNotAct()
    {
        const auto r = RunZenkoro({"--dry-run", "-auto", "-reboot", "-time", "0", "-exec_week", "0000000"}, m_home.path());
        QVERIFY2(r.exitCode == 0 && r.err.contains(QStringLiteral("の指定により\n実行をパスします。")) &&
                     !r.out.contains(QStringLiteral("dry-run:")),
                 qPrintable(Describe(r)));
        const auto idle = RunZenkoro({"--dry-run", "-reboot", "-time", "0"}, m_home.path());
        QVERIFY2(idle.exitCode == 0 && idle.out.startsWith(QStringLiteral("Zenkoro再起動 ")) &&
                     !idle.out.contains(QStringLiteral("dry-run:")),
                 qPrintable(Describe(idle)));
    }

    // Watching a sleeping process's CPU usage: the action comes, and only
    // after one averaging span of countdown steps.
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
        // The countdown steps shown before the warning: the condition cannot
        // hold within the first 10 seconds, while the first sample is in
        // after about 2 (a few steps of slack for a busy machine).
        static const QRegularExpression clock(QStringLiteral("^00:(29|30):\\d\\d$"));
        QVERIFY2(lines.filter(clock).size() >= 7, qPrintable(Describe(r)));
    }
};

QTEST_GUILESS_MAIN(TstHeadlessRun)
#include "tst_headless_run.moc"
