// The settings file through the real binary: --explain of a Windows file,
// --save, the save at exit and the files it creates, what it refuses to
// overwrite, and the memory a huge file costs.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

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

bool IsFifo(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Runs zenkoro the way RunZenkoro does, output thrown away, and returns the
// peak resident size of that one process in KiB (-1 when it did not exit 0).
long PeakRssKiB(const QStringList &args, const QString &home)
{
    QList<QByteArray> argBytes{QFile::encodeName(qEnvironmentVariable("ZENKORO_BIN"))};
    for (const QString &a : args)
        argBytes << QFile::encodeName(a);
    QList<QByteArray> envBytes;
    for (char **e = environ; *e; ++e) {
        const QByteArray kv(*e);
        if (!kv.startsWith("DISPLAY=") && !kv.startsWith("WAYLAND_DISPLAY=") && !kv.startsWith("HOME=") &&
            !kv.startsWith("XDG_CONFIG_HOME="))
            envBytes << kv;
    }
    envBytes << "HOME=" + QFile::encodeName(home) << "XDG_CONFIG_HOME=" + QFile::encodeName(home + "/config");
    std::vector<char *> argv, envp;
    for (QByteArray &a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray &e : envBytes)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    struct rusage usage {};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
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

private slots:
    void initTestCase() { QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN"))); }

    // The settings reader's own test reads every value of a Windows file;
    // here the binary reads one through --conf: --explain writes nothing,
    // --save rewrites it as UTF-8 with every other value kept.
    void explainAndSaveWindowsFile()
    {
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(MakeWindowsConf(conf));
        const QByteArray before = ReadBytes(conf);
        const Result ex = Run({"--conf", conf, "--explain"}, home.path());
        QCOMPARE(ex.exitCode, 0);
        QCOMPARE(ex.json.value("MonitorPhrase").toString(), QStringLiteral("処理が完了しました,終了\r\n次の行"));
        QCOMPARE(ex.json.value("MultiRows").toArray()[1].toObject().value("Application").toString(),
                 QStringLiteral("\"C:\\アプリ\\起動.exe\" ①"));
        QCOMPARE(ReadBytes(conf), before);

        const Result r = Run({"--conf", conf, "--save", "-force"}, home.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.isEmpty());
        const QStringList fields = ValueFields(conf);
        QCOMPARE(fields.size(), 311);
        QCOMPARE(fields[5], QStringLiteral("1"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(ReadBytes(conf));
        QVERIFY(!utf8.hasError());
        QCOMPARE(fields[121], QStringLiteral("復帰"));
        QCOMPARE(fields[21], QStringLiteral("処理が完了しました[comma]終了[Cr]次の行"));
        QVERIFY(text.contains(QStringLiteral("\r\nedit fontsize = 14\r\n")));
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
        // And the English program is really English.
        QVERIFY(Run({"--lang", "en", "--help"}, home.path()).out.startsWith(QStringLiteral("Usage: zenkoro")));
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
        QTest::newRow("--lang en") << QStringList() << QStringList{"--help", "--lang=en"} << "Usage: zenkoro" << 0;
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
        QVERIFY(QFile::setPermissions(conf, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const Result r = Run({"--conf", conf, "--save", "-force"}, home.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(ValueFields(conf).value(5), QStringLiteral("1"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(conf).constData(), &st), 0);
        QCOMPARE(unsigned(st.st_uid), 65534u);
        QCOMPARE(unsigned(st.st_gid), 65534u);
        QCOMPARE(unsigned(st.st_mode & 0777), 0640u);
    }

    void saveFailureReported()
    {
        QTemporaryDir home;
        // Its folder would have to be made under a regular file.
        const QString plain = home.filePath("plain");
        QVERIFY(WriteBytes(plain, "keep"));
        const QString conf = plain + QStringLiteral("/Conf.txt");
        const Result r = Run({"--conf", conf, "--save"}, home.path());
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("設定値の保存に失敗しました！")));
        QCOMPARE(ReadBytes(plain), QByteArray("keep"));
    }

    void parameterErrorWithSaveWritesNothing()
    {
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(MakeWindowsConf(conf));
        const QByteArray before = ReadBytes(conf);
        const Result r = Run({"--conf", conf, "--save", "-force", "-time", "8:x"}, home.path());
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(ReadBytes(conf), before);
    }

    void autoRunLeavesFileAlone()
    {
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(MakeWindowsConf(conf));
        const QByteArray before = ReadBytes(conf);
        QCOMPARE(Run({"--conf", conf, "--explain", "-auto", "-reboot"}, home.path()).exitCode, 0);
        QCOMPARE(ReadBytes(conf), before);

        // A whole "-auto" run (single schedule, to its power action) leaves the file as it was.
        const QString single = home.filePath("Single.txt");
        QCOMPARE(Run({"--conf", single, "--save", "-force"}, home.path()).exitCode, 0);
        const QByteArray singleBefore = ReadBytes(single);
        const Result r =
            Run({"--conf", single, "--dry-run", "-auto", "-reboot", "-time", "0", "-zero_time", "0"}, home.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("dry-run: ExitSession")), qPrintable(r.out));
        QCOMPARE(ReadBytes(single), singleBefore);
    }

    void plainStartSavesAtExit()
    {
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        QVERIFY(MakeWindowsConf(conf));
        const Result r = Run({"--conf", conf, "-time", "33"}, home.path());
        QCOMPARE(r.exitCode, 0);
        const QStringList fields = ValueFields(conf);
        QCOMPARE(fields.size(), 311);
        QCOMPARE(fields[6], QStringLiteral("33"));
        QCOMPARE(fields[121], QStringLiteral("復帰"));
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

        // The new file reads: the next run keeps nothing aside.
        QCOMPARE(Run({"--conf", conf, "--save"}, home.path()).exitCode, 0);
        QCOMPARE(QDir(home.path()).entryList({QStringLiteral("Conf.txt.unreadable-*")}, QDir::Files), kept);
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

    void nonRegularTargetRefused_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo, --save") << true << QStringList{"--save", "-force"} << "FIFO";
        QTest::newRow("directory, save at exit") << false << QStringList{"-time", "5"} << "ディレクトリ";
    }

    void nonRegularTargetRefused()
    {
        QFETCH(bool, fifo);
        QFETCH(QStringList, args);
        QFETCH(QString, kind);
        QTemporaryDir home;
        const QString conf = home.filePath("Conf.txt");
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(conf).constData(), 0600), 0);
        else
            QVERIFY(QDir().mkdir(conf));
        const Result r = Run(QStringList{"--conf", conf} + args, home.path());
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(conf) && r.err.contains(kind), qPrintable(r.err));
        if (fifo)
            QVERIFY(IsFifo(conf));
        else
            QVERIFY(QFileInfo(conf).isDir() && QDir(conf).isEmpty());
        // Nothing else was created beside it.
        QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Conf.txt"});
    }

    void hugeFileMemory()
    {
        // A file of commas just under the size limit: its memory must stay a
        // small multiple of its size, not one string per field.
        QTemporaryDir home;
        const QString empty = home.filePath("empty.txt");
        const QString huge = home.filePath("Conf.txt");
        QVERIFY(WriteBytes(empty, QByteArray()));
        const qint64 size = 15 * 1024 * 1024;
        QVERIFY(WriteBytes(huge, QByteArray(size, ',')));
        const long baseline = PeakRssKiB({"--conf", empty, "--explain"}, home.path());
        const long peak = PeakRssKiB({"--conf", huge, "--explain"}, home.path());
        QVERIFY(baseline > 0);
        QVERIFY(peak > 0);
        QVERIFY2(peak <= baseline + 8 * size / 1024,
                 qPrintable(QStringLiteral("peak %1 KiB, baseline %2 KiB").arg(peak).arg(baseline)));
    }
};

QTEST_GUILESS_MAIN(TstSettingsCli)
#include "tst_settings_cli.moc"
