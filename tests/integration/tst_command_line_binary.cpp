// The --command-line option of the real binary: the line for the default
// settings, the line with parameters applied, and that a printed line given
// back to the program prints itself again.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TstCommandLineBinary : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QString run(const QStringList &arguments, int *exitCode = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // A settings folder of its own, so that no saved settings change the line.
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path() + QStringLiteral("/config"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"), QStringList{QStringLiteral("--command-line")} + arguments);
        if (!p.waitForFinished(60000))
            return QStringLiteral("<timeout>");
        if (exitCode)
            *exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private Q_SLOTS:
    void lines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("defaults") << QStringList{} << "-auto -shutdown -time 90";
        QTest::newRow("auto alone") << QStringList{"-auto"} << "-auto -shutdown -time 90";
        QTest::newRow("reboot, options")
            << QStringList{"-auto", "-reboot", "-time", "10", "-topmost", "n", "-no_beep"}
            << "-auto -reboot -time 10 -topmost n -no_beep y";
        QTest::newRow("clock time and a phrase")
            << QStringList{"-auto", "-logoff", "-time", "23:05", "-force", "-appear", "Backup", "Done"}
            << "-auto -logoff -time 23:5 -force -appear backup done";
        QTest::newRow("resume after minutes with an application")
            << QStringList{"-auto", "-standby", "-time", "30", "-resume", "20", "-resume_ap", "<xterm -e top>"}
            << "-auto -standby -time 30 -resume  20 -resume_ap < xterm -e top >";
        QTest::newRow("not written: lead times and masks")
            << QStringList{"-auto", "-popup_time", "60", "-zero_time", "3", "-exec_week", "0111110", "-nodisp"}
            << "-auto -shutdown -time 90";
        QTest::newRow("multi") << QStringList{"-auto", "-multi", "-tasktray"} << "-auto -multi -tasktray y";
    }
    void lines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        int code = -1;
        const QString out = run(arguments, &code);
        QCOMPARE(code, 0);
        QCOMPARE(out, expected + QLatin1Char('\n'));

        // The printed line, given back word by word, reproduces itself.
        int again = -1;
        QCOMPARE(run(expected.split(QLatin1Char(' '), Qt::SkipEmptyParts), &again), out);
        QCOMPARE(again, 0);
    }
};

QTEST_GUILESS_MAIN(TstCommandLineBinary)
#include "tst_command_line_binary.moc"
