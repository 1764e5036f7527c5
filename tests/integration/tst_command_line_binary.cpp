// The --command-line option of the real binary: the line for the default
// settings, the line with parameters applied, that a printed line given
// back to the program prints itself again, and no line for settings the
// grammar cannot carry; a mistyped line starts nothing.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/run_zenkoro.h"

class TstCommandLineBinary : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    // The printed line; a settings folder of its own, so that no saved
    // settings change it.
    QString run(const QStringList &arguments, int *exitCode)
    {
        const zktest::Result r = zktest::RunZenkoro(QStringList{"--command-line"} + arguments, m_home.path(), 60000);
        *exitCode = r.exitCode;
        return r.out;
    }

private Q_SLOTS:
    void lines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("resume after minutes with an application")
            << QStringList{"-auto", "-standby", "-time", "30", "-resume", "20", "-resume_ap", "<xterm -e top>"}
            << "-auto -standby -time 30 -resume  20 -resume_ap < xterm -e top >";
        QTest::newRow("phrase holding parameters")
            << QStringList{"-auto", "-appear", "<build done -reboot -time 0>", "-topmost", "n"}
            << "-auto -shutdown -time 90 -appear < build done -reboot -time 0 > -topmost n";
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

    // A mistyped or incomplete line starts nothing, even with "-auto": exit
    // status 2 and the word at fault on standard error.
    void mistypedLineStartsNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("word");
        QTest::newRow("misspelt words") << QStringList{"-auto", "-rebot", "-tme", "10"} << "「-rebot」は不明なパラメータです！";
        QTest::newRow("phrase missing") << QStringList{"-auto", "-shutdown", "-appear"} << "「-appear」に値がありません！";
    }
    void mistypedLineStartsNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, word);
        const zktest::Result r = zktest::RunZenkoro(QStringList{"--dry-run"} + arguments, m_home.path(), 30000);
        QVERIFY2(r.exitCode == 2 && r.err.contains(word), qPrintable(zktest::Describe(r)));
        QCOMPARE(r.out, QString());
    }

    // An application in upper case in the settings file: the line would run
    // it in lower case, so none is printed; the reason goes to standard error.
    void refusedSettings()
    {
        QTemporaryDir home;
        const QString conf = home.filePath(QStringLiteral("Conf.txt"));
        QCOMPARE(zktest::RunZenkoro({"--conf", conf, "--save", "-auto", "-standby", "-resume", "10"}, home.path()).exitCode, 0);
        QFile f(conf);
        QVERIFY(f.open(QIODevice::Append));
        f.write("command/ap = /opt/App/run\r\n");
        f.close();
        const zktest::Result r = zktest::RunZenkoro({"--conf", conf, "--command-line"}, home.path());
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QString());
        QVERIFY2(r.err.contains(QStringLiteral("/opt/App/run")) && r.err.contains(QStringLiteral("大文字")),
                 qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TstCommandLineBinary)
#include "tst_command_line_binary.moc"
