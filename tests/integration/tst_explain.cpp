// Runs the real binary with --explain and checks what it reports.
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "support/run_zenkoro.h"

namespace {
using zktest::Result;
Result RunZenkoro(const QStringList &args, const QTemporaryDir &home)
{
    return zktest::RunZenkoro(args, home.path());
}

// A settings file with these fields (number, 1-based, to text) set.
bool WriteConf(const QString &path, const QMap<int, QString> &fields)
{
    QStringList f(310);
    for (auto it = fields.begin(); it != fields.end(); ++it)
        f[it.key() - 1] = it.value();
    QFile conf(path);
    return conf.open(QIODevice::WriteOnly | QIODevice::Truncate) && conf.write((f.join(',') + ",\r\n").toUtf8()) > 0;
}
}  // namespace

class TstExplain : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void initTestCase() { QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN"))); }

    void rebootInTenMinutes()
    {
        const Result r = RunZenkoro({"--explain", "-auto", "-reboot", "-time", "10"}, m_home);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value("Operation").toInt(-1), 1);
        QCOMPARE(r.json.value("DelayMinutes").toString(), QStringLiteral("  10"));
        QCOMPARE(r.json.value("AutoStart").toBool(), true);
    }

    // Started at 00:30 on Berlin's change days, "-time 08:00" is 08:00 on the wall clock.
    void clockTimeOnChangeDays_data()
    {
        QTest::addColumn<QString>("day");
        QTest::newRow("spring") << "2025-03-30";
        QTest::newRow("autumn") << "2025-10-26";
    }
    void clockTimeOnChangeDays()
    {
        QFETCH(QString, day);
        QVERIFY2(!zktest::FaketimeLibrary().isEmpty(), "faketime is not installed (./zk installs it)");
        const Result r = zktest::RunZenkoroAt({"--explain", "-auto", "-shutdown", "-time", "08:00"}, m_home.path(),
                                              day + " 00:30:00");
        QVERIFY2(r.exitCode == 0, qPrintable(zktest::Describe(r)));
        QCOMPARE(r.json.value("TargetTime").toString(), day + "T08:00:00");
    }

    // Multi rows whose time is no time of day are empty rows: --explain lists
    // them, and a run says which were dropped and runs nothing.
    void impossibleMultiRowsAreDropped()
    {
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(WriteConf(conf, {{10, "1"}, {110, "3000000000000"}, {111, "0"}, {112, "シャットダウン"},
                                 {120, "8"}, {121, "-30"}, {122, "再起動"}, {80, "-5"}, {90, "0"}}));
        const Result run = zktest::RunZenkoro({"--conf", conf, "--dry-run", "-auto", "-multi"}, home.path());
        QVERIFY2(!run.out.contains("dry-run:"), qPrintable(zktest::Describe(run)));
        QVERIFY2(run.err.contains(QStringLiteral("連続指定の 1, 2 行目は時刻が正しくない")), qPrintable(run.err));
        QCOMPARE(run.exitCode, 1);
        const Result explained = zktest::RunZenkoro({"--conf", conf, "--explain"}, home.path());
        QVERIFY2(explained.exitCode == 0, qPrintable(zktest::Describe(explained)));
        QCOMPARE(explained.json.value("DroppedMultiRows").toArray(), (QJsonArray{1, 2}));
        QCOMPARE(explained.json.value("DroppedResumeListRows").toArray(), QJsonArray{0});
        QCOMPARE(explained.json.value("MultiPlan").toArray(), QJsonArray());
    }

    void pathWithSpacesStaysOneProgram()
    {
        // "ap" is reported by --explain, not started.
        const Result r = RunZenkoro({"--explain", "-ap", "/no such/dir/prog", "-reboot"}, m_home);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value("ApPath").toString(), QStringLiteral("\"/no such/dir/prog\""));
        QCOMPARE(r.json.value("Operation").toInt(), 1);
    }

    // A relative program path is looked for in the program's own folder, as a
    // start does, whatever folder the caller is in.
    void relativeApplicationPathIsTakenFromTheProgramFolder_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("outcome");
        // Copied beside the binary by the build; not in the caller's folder.
        QTest::newRow("beside the program") << "command_line.txt" << "start";
        QTest::newRow("only in the caller's folder") << "onlyhere" << "refused";
    }
    void relativeApplicationPathIsTakenFromTheProgramFolder()
    {
        QFETCH(QString, program);
        QFETCH(QString, outcome);
        QTemporaryDir caller;
        QFile here(caller.filePath(QStringLiteral("onlyhere")));
        QVERIFY(here.open(QIODevice::WriteOnly));
        here.close();
        // A dry run: where no wake alarm can be armed (no real-time clock in a
        // container), a real suspend with a resume time would be refused first.
        const Result r = zktest::RunZenkoro({"--explain", "--dry-run", "-standby", "-time", "5", "-resume", "10", "-resume_ap", program},
                                            m_home.path(), 30000, caller.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value("AppCommand").toString(), program);
        QCOMPARE(r.json.value("Outcome").toString(), outcome);
        if (outcome != QStringLiteral("refused"))
            return;
        QCOMPARE(r.json.value("Refusal").toObject().value("Text").toString(),
                 QStringLiteral("記述されたパスは無効です。\r\n\r\n") + program);
        // A start from the same folder refuses it in the same way.
        const Result started = zktest::RunZenkoro(
            {"--dry-run", "-auto", "-standby", "-time", "5", "-resume", "10", "-resume_ap", program}, m_home.path(),
            30000, caller.path());
        QCOMPARE(started.exitCode, 1);
        QVERIFY2(started.err.contains(QStringLiteral("パスエラー: 記述されたパスは無効です。\n\n") + program),
                 qPrintable(started.err));
        QVERIFY(!started.out.contains(QStringLiteral("dry-run:")));
    }
};

QTEST_GUILESS_MAIN(TstExplain)
#include "tst_explain.moc"
