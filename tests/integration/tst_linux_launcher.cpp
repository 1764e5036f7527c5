// The launcher with the Linux backend: real processes started from argument
// lists, documents opened through the default application of their MIME type
// as mimeapps.list files and desktop entries of a private XDG tree name it,
// desktop entries run as shortcuts, folders and addresses handed to xdg-open
// (here a stand-in on PATH that records what it was given).
#include "core/launcher.h"
#include "platform/linux/linux_launcher_backend.h"
#include "support/fake/fake_clock.h"
#include "platform/linux/system_clock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <csignal>

using namespace zk;

class TstLinuxLauncher : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_recorder;     // records its working folder and arguments
    QString m_appFolder;    // plays the folder of the executable
    QString m_docs;
    QString m_record;

    QString path(const QString &rel) const { return m_root.path() + QLatin1Char('/') + rel; }

    static void write(const QString &file, const QString &text, bool executable = false)
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }

    // The real backend behind a launcher whose program folder is m_appFolder.
    struct Real {
        LinuxLauncherBackend backend;
        SystemClock clock;
        Launcher launcher;
        explicit Real(const QString &appFolder) : launcher(backend, clock, appFolder) {}
    };

    // The lines the recorder writes for the last start (waited for): its
    // name, its working folder, then one argument per line.
    QStringList takeRecord()
    {
        (void)QTest::qWaitFor([this] { return QFile::exists(m_record); }, 5000);
        QFile f(m_record);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        f.close();
        QFile::remove(m_record);
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_record = path(QStringLiteral("record.txt"));
        m_recorder = path(QStringLiteral("bin dir/recorder.sh"));
        m_appFolder = path(QStringLiteral("app"));
        m_docs = path(QStringLiteral("docs"));
        const QString script = QStringLiteral(
            "#!/bin/sh\n"
            "out=\"$ZK_RECORD_FILE\"\n"
            "{ basename \"$0\"; pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$out.tmp\"\n"
            "mv \"$out.tmp\" \"$out\"\n");
        write(m_recorder, script, true);
        write(path(QStringLiteral("fakebin/xdg-open")), script, true);
        write(path(QStringLiteral("fakebin/x-terminal-emulator")), script, true);
        write(m_appFolder + QStringLiteral("/rec.sh"), script, true);
        QDir().mkpath(m_docs + QStringLiteral("/Sub Folder"));
        write(m_docs + QStringLiteral("/note.txt"), QStringLiteral("hello\n"));
        write(m_docs + QStringLiteral("/data.csv"), QStringLiteral("a,b\n1,2\n"));
        write(m_docs + QStringLiteral("/site.url"), QStringLiteral("[InternetShortcut]\nURL=https://example.org/\n"));
        write(m_docs + QStringLiteral("/blob.zkq"), QStringLiteral("\x01\x02zk"));

        qputenv("ZK_RECORD_FILE", m_record.toUtf8());
        qputenv("PATH", (path(QStringLiteral("fakebin")) + QLatin1Char(':') + qEnvironmentVariable("PATH")).toUtf8());
        qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", path(QStringLiteral("etc-xdg")).toUtf8());
        qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toUtf8());
        // The system folders stay last: they hold the MIME database.
        qputenv("XDG_DATA_DIRS", (path(QStringLiteral("sysdata")) + QStringLiteral(":/usr/share")).toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "ZKTest:Other");

        const QString apps = path(QStringLiteral("data/applications"));
        const QString quotedRecorder = QLatin1Char('"') + m_recorder + QLatin1Char('"');
        write(apps + QStringLiteral("/zk-viewer.desktop"),
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Viewer\nExec=") + quotedRecorder +
                  QStringLiteral(" --view %U\n"));
        write(apps + QStringLiteral("/zk-other.desktop"),
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Other\nExec=") + quotedRecorder +
                  QStringLiteral(" --other %f\n"));
        write(apps + QStringLiteral("/zk-term.desktop"),
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Term\nTerminal=true\nExec=") + quotedRecorder +
                  QStringLiteral(" --term %f\n"));
        write(apps + QStringLiteral("/zk-hidden.desktop"),
              QStringLiteral("[Desktop Entry]\nType=Application\nHidden=true\nExec=/bin/false\n"));
        write(path(QStringLiteral("sysdata/applications/zkvendor/tool.desktop")),
              QStringLiteral("[Desktop Entry]\nType=Application\nExec=") + quotedRecorder +
                  QStringLiteral(" --vendor \"%F\"\n"));

        write(path(QStringLiteral("config/mimeapps.list")),
              QStringLiteral("[Default Applications]\n"
                             "text/plain=zk-missing.desktop;zk-viewer.desktop;\n"
                             "text/x-csrc=zk-other.desktop\n"
                             "application/x-shellscript=zk-viewer.desktop\n"
                             "image/png=zk-hidden.desktop\n"
                             "text/csv=zk-term.desktop\n"
                             "[Added Associations]\n"
                             "image/png=zk-other.desktop;\n"));
        write(path(QStringLiteral("config/zktest-mimeapps.list")),
              QStringLiteral("[Default Applications]\ntext/x-csrc=zk-viewer.desktop;\n"));
        write(path(QStringLiteral("etc-xdg/mimeapps.list")),
              QStringLiteral("[Default Applications]\ntext/x-csrc=zk-other.desktop\ntext/html=zkvendor-tool.desktop\n"));

        // A shortcut beside the program, with its own working folder.
        write(m_appFolder + QStringLiteral("/tool.desktop"),
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Tool\nPath=") + m_docs +
                  QStringLiteral("\nExec=") + quotedRecorder + QStringLiteral(" --from-shortcut %f \"x y\"\n"));
    }

    void defaultApplications_data()
    {
        QTest::addColumn<QString>("mimeType");
        QTest::addColumn<QString>("desktopId");
        QTest::newRow("first installed of the list") << "text/plain" << "zk-viewer.desktop";
        QTest::newRow("desktop-specific list first") << "text/x-csrc" << "zk-viewer.desktop";
        QTest::newRow("system list, vendor sub-folder") << "text/html" << "zkvendor-tool.desktop";
        QTest::newRow("hidden default, then added association") << "image/png" << "zk-other.desktop";
        QTest::newRow("none") << "application/x-zenkoro-nothing" << "";
    }
    void defaultApplications()
    {
        QFETCH(QString, mimeType);
        QFETCH(QString, desktopId);
        QCOMPARE(LinuxLauncherBackend::defaultApplicationFor(mimeType), desktopId);
    }

    // What a command line starts: the recorder records its name, working
    // folder and arguments. Which start a command makes is the launcher's
    // own test; here the real system finds, reads and starts the program.
    void commandsStartTheRightProgram_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("process");  // a process id, or 1 for a start handed to the desktop
        QTest::addColumn<QStringList>("record");
        // No shell in between: the text after the program arrives as words.
        QTest::newRow("arguments as words") << '"' + m_recorder + "\" -x \"a b\"  c;echo $HOME" << true
                                            << QStringList{"recorder.sh", m_appFolder, "-x", "a b", "c;echo", "$HOME"};
        QTest::newRow("relative to the program folder") << "./rec.sh one" << true
                                                        << QStringList{"rec.sh", m_appFolder, "one"};
        QTest::newRow("bare name not beside the program: from PATH")
            << "xdg-open two" << true << QStringList{"xdg-open", m_appFolder, "two"};
        QTest::newRow("document through its default application")
            << m_docs + "/note.txt" << true << QStringList{"recorder.sh", m_appFolder, "--view", m_docs + "/note.txt"};
        QTest::newRow("type without an application to xdg-open")
            << m_docs + "/blob.zkq" << false << QStringList{"xdg-open", QDir::currentPath(), m_docs + "/blob.zkq"};
        QTest::newRow("terminal application gets a terminal")
            << m_docs + "/data.csv" << true
            << QStringList{"x-terminal-emulator", m_appFolder, "-e", m_recorder, "--term", m_docs + "/data.csv"};
        QTest::newRow("folder to xdg-open") << '"' + m_docs + "/Sub Folder\"" << false
                                            << QStringList{"xdg-open", QDir::currentPath(), m_docs + "/Sub Folder"};
        QTest::newRow("shortcut in its own working folder")
            << "tool.desktop" << false << QStringList{"recorder.sh", m_docs, "--from-shortcut", "x y"};
    }
    void commandsStartTheRightProgram()
    {
        QFETCH(QString, command);
        QFETCH(bool, process);
        QFETCH(QStringList, record);
        Real r(m_appFolder);
        const qint64 pid = r.launcher.launchCommand(command);
        if (process)
            QVERIFY(pid > 1);
        else
            QCOMPARE(pid, qint64(1));
        QCOMPARE(takeRecord(), record);
    }

    void endOfAStartedProgramIsReported_data()
    {
        QTest::addColumn<bool>("endsAtOnce");
        QTest::newRow("ended before the first look") << true;
        QTest::newRow("runs until it is ended") << false;
    }
    void endOfAStartedProgramIsReported()
    {
        QFETCH(bool, endsAtOnce);
        LinuxLauncherBackend backend;
        FakeClock clock;  // stands still: only the process itself can end the wait
        Launcher launcher(backend, clock, m_appFolder);
        QSignalSpy settled(&launcher, &Launcher::processSettled);
        QSignalSpy ended(&launcher, &Launcher::processEnded);
        const QString command = endsAtOnce ? QStringLiteral("sh -c \"exit 3\"") : QStringLiteral("sleep 30");
        const qint64 pid = launcher.launchCommand(command);
        QVERIFY(pid > 1);
        if (endsAtOnce) {
            while (backend.isProcessAlive(pid))
                QThread::msleep(5);  // no events: the launcher has not looked yet
        }
        QTRY_COMPARE(settled.count(), 1);
        QCOMPARE(settled.first(), (QVariantList{pid, !endsAtOnce}));
        QCOMPARE(launcher.pendingWaits(), 0);
        if (!endsAtOnce) {
            QVERIFY(ended.isEmpty() && backend.isProcessAlive(pid));
            ::kill(pid_t(pid), SIGTERM);
        }
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(ended.first().at(0).toLongLong(), pid);
        QCOMPARE(settled.count(), 1);
        QTRY_VERIFY(!backend.isProcessAlive(pid));
    }

    // Queries, and commands that name nothing to start.
    void queriesAndFailures()
    {
        Real r(m_appFolder);
        QVERIFY(r.backend.isProcessAlive(QCoreApplication::applicationPid()));
        QVERIFY(!r.backend.isProcessAlive(0));
        QVERIFY(!r.backend.isExecutableFile(m_docs));
        QVERIFY(!r.backend.isExecutableFile(m_docs + "/note.txt"));
        QCOMPARE(r.launcher.launchCommand(QStringLiteral("no-such-program-zk --x")), qint64(0));
        QCOMPARE(r.launcher.launchCommand(m_docs + QStringLiteral("/missing/thing")), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TstLinuxLauncher)
#include "tst_linux_launcher.moc"
