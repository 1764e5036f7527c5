// The real binary's command line: --explain, --command-line, --save and the
// save at exit with the files they create or refuse to overwrite, --lang,
// and the memory a huge settings file costs.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/run_zenkoro.h"

namespace {

using zktest::Result;

Result Run(const QStringList &args, const QString &home)
{
    return zktest::RunZenkoro(args, home);
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList ValueFields(const QString &path)
{
    const QString text = QString::fromUtf8(ReadBytes(path));
    return text.left(text.indexOf(QStringLiteral("\r\n"))).split(QLatin1Char(','));
}

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A settings file with these fields (number, 1-based, to text) set.
bool WriteConf(const QString &path, const QMap<int, QString> &fields)
{
    QStringList f(310);
    for (auto it = fields.begin(); it != fields.end(); ++it)
        f[it.key() - 1] = it.value();
    return WriteBytes(path, (f.join(',') + ",\r\n").toUtf8());
}

// The largest resident size in KiB among the children this process has
// waited for (QProcess waits for each program it ran).
long ChildrenPeakKiB()
{
    struct rusage usage {};
    return ::getrusage(RUSAGE_CHILDREN, &usage) == 0 ? usage.ru_maxrss : -1;
}

bool MakeWindowsConf(const QString &path)
{
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {qEnvironmentVariable("ZK_SOURCE_DIR") + QStringLiteral("/tests/fixtures/make_windows_conf.py"), path});
    return py.waitForFinished(60000) && py.exitStatus() == QProcess::NormalExit && py.exitCode() == 0;
}

}  // namespace

class TstSettingsCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void initTestCase() { QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN"))); }

    // First, before any larger child: a file of commas just under the size
    // limit costs a small multiple of its size, not one string per field.
    void hugeFileMemory()
    {
        QTemporaryDir home;
        const QString empty = home.filePath("empty.txt");
        const QString huge = home.filePath("Conf.txt");
        QVERIFY(WriteBytes(empty, QByteArray()));
        const qint64 size = 15 * 1024 * 1024;
        QVERIFY(WriteBytes(huge, QByteArray(size, ',')));
        QCOMPARE(Run({"--conf", empty, "--explain"}, home.path()).exitCode, 0);
        const long baseline = ChildrenPeakKiB();
        QCOMPARE(Run({"--conf", huge, "--explain"}, home.path()).exitCode, 0);
        const long peak = ChildrenPeakKiB();
        QVERIFY(baseline > 0);
        QVERIFY2(peak <= baseline + 8 * size / 1024,
                 qPrintable(QStringLiteral("peak %1 KiB, baseline %2 KiB").arg(peak).arg(baseline)));
    }

    // The language changes what the user reads, never what the file holds:
    // the same settings saved in English and in Japanese are the same bytes.
    void savedFileIsTheSameInEveryLanguage()
    {
        QTemporaryDir home;
        QByteArray saved[2];
        const char *languages[] = {"ja", "en"};
        for (int i = 0; i < 2; ++i) {
            const QString conf = home.filePath(QStringLiteral("Conf_%1.txt").arg(i));
            QVERIFY(MakeWindowsConf(conf));
            const Result r = Run({"--lang", languages[i], "--conf", conf, "--save", "-standby", "-time", "23:30", "-resume",
                                  "7:00", "-appear", "完了しました", "-force"},
                                 home.path());
            QVERIFY2(r.exitCode == 0, qPrintable(zktest::Describe(r)));
            saved[i] = ReadBytes(conf);
        }
        QVERIFY(saved[0].contains(QStringLiteral("完了しました").toUtf8()));
        QVERIFY(saved[0] == saved[1]);
        // The multi rows keep their stored operation text under English too.
        QVERIFY(saved[1].contains(QStringLiteral(",23,0,スリープ,").toUtf8()));
    }

    // --help follows --lang, else the locale; a bad --lang is a usage error.
    void helpLanguage_data()
    {
        QTest::addColumn<QStringList>("via");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("exitCode");
        const QStringList english{"env", "LC_ALL=", "LANGUAGE=", "LANG=en_US.UTF-8"};
        QTest::newRow("default") << QStringList() << QStringList{"--help"} << "使い方: zenkoro" << 0;
        QTest::newRow("English locale") << english << QStringList{"--help"} << "Usage: zenkoro" << 0;
        QTest::newRow("--lang over the locale") << english << QStringList{"--lang", "ja", "--help"} << "使い方: zenkoro"
                                                << 0;
        QTest::newRow("bad --lang") << QStringList() << QStringList{"--lang", "de", "--help"} << "" << 2;
    }
    void helpLanguage()
    {
        QFETCH(QStringList, via);
        QFETCH(QStringList, args);
        QFETCH(QString, start);
        QFETCH(int, exitCode);
        QTemporaryDir home;
        const Result r = zktest::RunZenkoro(args, home.path(), 30000, QString(), via);
        QVERIFY2(r.exitCode == exitCode && (start.isEmpty() || r.out.startsWith(start)), qPrintable(zktest::Describe(r)));
        if (exitCode == 2)
            QVERIFY(r.out.isEmpty() && r.err.contains(QStringLiteral("--lang")));
    }

    // With neither --conf nor a file beside the binary: the XDG folder.
    void saveCreatesTheFileInTheConfigFolder()
    {
        QTemporaryDir home;
        const Result r = Run({"--save", "-reboot", "-time", "15"}, home.path());
        QCOMPARE(r.exitCode, 0);
        const QStringList fields = ValueFields(home.filePath("config/zenkoro/Conf.txt"));
        QCOMPARE(fields.value(2), QStringLiteral("1"));
        QCOMPARE(fields.value(6), QStringLiteral("15"));
    }

    void saveByRootKeepsTheUsersFile()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to give a file to another user");
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(MakeWindowsConf(conf));
        QCOMPARE(::chown(QFile::encodeName(conf).constData(), 65534, 65534), 0);
        const Result r = Run({"--conf", conf, "--save", "-force"}, home.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(ValueFields(conf).value(5), QStringLiteral("1"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(conf).constData(), &st), 0);
        QCOMPARE(unsigned(st.st_uid), 65534u);
        QCOMPARE(unsigned(st.st_gid), 65534u);
    }

    // A mistyped line does nothing, even with "-auto" or "--save": exit
    // status 2, the word at fault on standard error, the file as it was.
    void parameterErrorDoesNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("word");
        QTest::newRow("misspelt words") << QStringList{"--dry-run", "-auto", "-rebot", "-tme", "10"}
                                        << "「-rebot」は不明なパラメータです！";
        QTest::newRow("phrase missing, --save") << QStringList{"--save", "-auto", "-shutdown", "-appear"}
                                                << "「-appear」に値がありません！";
    }
    void parameterErrorDoesNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, word);
        const QString conf = m_home.filePath("Mistyped.txt");
        QVERIFY(WriteBytes(conf, "1,2,"));
        const Result r = Run(QStringList{"--conf", conf} + args, m_home.path());
        QVERIFY2(r.exitCode == 2 && r.err.contains(word) && r.out.isEmpty(), qPrintable(zktest::Describe(r)));
        QCOMPARE(ReadBytes(conf), QByteArray("1,2,"));
    }

    // --explain and a whole "-auto" run (single schedule, to its power
    // action) leave the file as it was.
    void explainAndAutoRunLeaveTheFileAlone()
    {
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QCOMPARE(Run({"--conf", conf, "--save", "-force"}, home.path()).exitCode, 0);
        const QByteArray before = ReadBytes(conf);
        QCOMPARE(Run({"--conf", conf, "--explain", "-auto", "-reboot"}, home.path()).exitCode, 0);
        const Result r =
            Run({"--conf", conf, "--dry-run", "-auto", "-reboot", "-time", "0", "-zero_time", "0"}, home.path());
        QVERIFY2(r.exitCode == 0 && r.out.contains(QStringLiteral("dry-run: ExitSession")), qPrintable(r.out));
        QCOMPARE(ReadBytes(conf), before);
    }

    // A plain start without a display saves at exit: the file that could not be
    // read is kept, byte for byte, beside the new one.
    void unreadableFileKeptAside()
    {
        const QByteArray bytes("1,2,4,1,0,1,45,\0,,\r\n", 20);
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(WriteBytes(conf, bytes));
        const Result r = Run({"--conf", conf, "-time", "33"}, home.path());
        QCOMPARE(r.exitCode, 0);
        const QStringList kept = QDir(home.path()).entryList({QStringLiteral("Conf.txt.unreadable-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY(ReadBytes(home.filePath(kept[0])) == bytes);
        QCOMPARE(ValueFields(conf).value(6), QStringLiteral("33"));
        // Said once, naming the kept file.
        QCOMPARE(r.err.count(kept[0]), 1);
    }

    void unreadableToItsUserKeptAside()
    {
        // A file its own user may write but not read, in that user's folder.
        if (::geteuid() != 0)
            QSKIP("needs root to run as another user");
        QTemporaryDir top;
        QVERIFY(QFile::setPermissions(
            top.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        const QString home = top.filePath("home");
        const QString conf = home + QStringLiteral("/Conf.txt");
        QVERIFY(QDir().mkdir(home));
        QVERIFY(MakeWindowsConf(conf));
        const QByteArray bytes = ReadBytes(conf);
        for (const QString &p : {home, conf})
            QCOMPARE(::chown(QFile::encodeName(p).constData(), 65534, 65534), 0);
        QVERIFY(QFile::setPermissions(conf, QFile::WriteOwner));

        auto asNobody = [&](const QStringList &args) {
            return zktest::RunZenkoro(args, home, 30000, QString(),
                                      {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
        };
        if (asNobody({"--version"}).exitCode != 0)
            QSKIP("the program cannot be run as user nobody here");

        const Result r = asNobody({"--conf", conf, "-time", "33"});
        QCOMPARE(r.exitCode, 0);
        const QStringList kept = QDir(home).entryList({QStringLiteral("Conf.txt.unreadable-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY(ReadBytes(home + QLatin1Char('/') + kept[0]) == bytes);
        QCOMPARE(r.err.count(kept[0]), 1);
        QCOMPARE(ValueFields(conf).value(6), QStringLiteral("33"));
    }

    // A save that cannot be made: exit status 1, the reason on standard
    // error, nothing replaced and nothing created beside it.
    void saveRefused_data()
    {
        QTest::addColumn<QString>("stands");  // what stands at Conf.txt
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("fifo, --save") << "fifo" << QStringList{"--save", "-force"} << "FIFO";
        QTest::newRow("directory, save at exit") << "directory" << QStringList{"-time", "5"} << "ディレクトリ";
        // Conf.txt is a file, and a folder of that name would be needed.
        QTest::newRow("file as the folder") << "file" << QStringList{"--save"} << "設定値の保存に失敗しました！";
    }
    void saveRefused()
    {
        QFETCH(QString, stands);
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        QTemporaryDir home;
        const QString at = home.filePath("Conf.txt");
        if (stands == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(at).constData(), 0600), 0);
        else if (stands == "directory")
            QVERIFY(QDir().mkdir(at));
        else
            QVERIFY(WriteBytes(at, "keep"));
        const QString conf = stands == "file" ? at + "/Conf.txt" : at;
        const Result r = Run(QStringList{"--conf", conf} + args, home.path());
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(reason) && (stands == "file" || r.err.contains(conf)), qPrintable(r.err));
        struct stat st {};
        if (stands == "fifo")
            QVERIFY(::lstat(QFile::encodeName(at).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        else if (stands == "directory")
            QVERIFY(QFileInfo(at).isDir() && QDir(at).isEmpty());
        else
            QCOMPARE(ReadBytes(at), QByteArray("keep"));
        QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Conf.txt"});
    }

    // Started at 00:30 on the day Berlin's summer time begins, "-time 08:00" is 08:00 on the wall clock.
    void clockTimeOnChangeDay()
    {
        QVERIFY2(!zktest::FaketimeLibrary().isEmpty(), "faketime is not installed (./zk installs it)");
        const Result r = zktest::RunZenkoroAt({"--explain", "-auto", "-shutdown", "-time", "08:00"}, m_home.path(),
                                              "2025-03-30 00:30:00");
        QVERIFY2(r.exitCode == 0, qPrintable(zktest::Describe(r)));
        QCOMPARE(r.json.value("TargetTime").toString(), QStringLiteral("2025-03-30T08:00:00"));
    }

    // Multi rows whose time is no time of day are empty rows, and --explain lists them.
    void impossibleMultiRowsAreDropped()
    {
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(WriteConf(conf, {{10, "1"}, {110, "3000000000000"}, {111, "0"}, {112, "シャットダウン"},
                                 {120, "8"}, {121, "-30"}, {122, "再起動"}, {80, "-5"}, {90, "0"}}));
        const Result explained = zktest::RunZenkoro({"--conf", conf, "--explain"}, home.path());
        QVERIFY2(explained.exitCode == 0, qPrintable(zktest::Describe(explained)));
        QCOMPARE(explained.json.value("DroppedMultiRows").toArray(), (QJsonArray{1, 2}));
        QCOMPARE(explained.json.value("DroppedResumeListRows").toArray(), QJsonArray{0});
        QCOMPARE(explained.json.value("MultiPlan").toArray(), QJsonArray());
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
        const QStringList args{"--dry-run", "-standby", "-time", "5", "-resume", "10", "-resume_ap", program};
        const Result r = zktest::RunZenkoro(QStringList{"--explain"} + args, m_home.path(), 30000, caller.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.json.value("Outcome").toString(), outcome);
        if (outcome != QStringLiteral("refused"))
            return;
        // A start from the same folder refuses it in the same way.
        const Result started = zktest::RunZenkoro(QStringList{"-auto"} + args, m_home.path(), 30000, caller.path());
        QCOMPARE(started.exitCode, 1);
        QVERIFY2(started.err.contains(QStringLiteral("パスエラー: 記述されたパスは無効です。\n\n") + program),
                 qPrintable(started.err));
        QVERIFY(!started.out.contains(QStringLiteral("dry-run:")));
    }

    // --command-line prints the line of the settings with the parameters
    // applied; the printed line, given back word by word, prints itself again.
    void commandLinePrintsItself()
    {
        const QString line = QStringLiteral("-auto -standby -time 30 -resume  20 -resume_ap < xterm -e top >");
        const Result r = Run({"--command-line", "-auto", "-standby", "-time", "30", "-resume", "20", "-resume_ap",
                              "<xterm -e top>"}, m_home.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, line + QLatin1Char('\n'));
        const Result again = Run(QStringList{"--command-line"} + line.split(QLatin1Char(' '), Qt::SkipEmptyParts),
                                 m_home.path());
        QCOMPARE(again.out, r.out);
    }

    // An application in upper case in the settings file: the line would run
    // it in lower case, so none is printed; the reason goes to standard error.
    void commandLineRefusedSettings()
    {
        QTemporaryDir home;
        const QString conf = home.filePath(QStringLiteral("Conf.txt"));
        QVERIFY(WriteConf(conf, {{3, "4"}, {40, "1"}, {48, "1"}, {49, "/opt/App/run"}, {50, "0"}}));
        const Result r = Run({"--conf", conf, "--command-line"}, home.path());
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QString());
        QVERIFY2(r.err.contains(QStringLiteral("/opt/App/run")) && r.err.contains(QStringLiteral("大文字")),
                 qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TstSettingsCli)
#include "tst_settings_cli.moc"
