// Where the help texts and the sound are looked for.
#include "shell/data_folder.h"

#include <QSet>
#include <QtTest>

using namespace zk;

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void lookup_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        const QString probe = QStringLiteral("/command_line.txt");
        // The build folder: the texts are copied beside the program.
        QTest::newRow("beside the program wins")
            << "/home/u/zenkoro/build/src"
            << QStringList{"/home/u/zenkoro/build/src" + probe, "/usr/share/zenkoro" + probe}
            << "/home/u/zenkoro/build/src";
        // A package unpacked somewhere else: its own share folder, not the
        // one of an installed copy.
        QTest::newRow("unpacked tree before the prefix")
            << "/tmp/root/usr/bin"
            << QStringList{"/tmp/root/usr/share/zenkoro" + probe, "/usr/share/zenkoro" + probe}
            << "/tmp/root/usr/share/zenkoro";
        QTest::newRow("trailing slash") << "/opt/zk/bin/" << QStringList{"/opt/zk/share/zenkoro" + probe}
                                        << "/opt/zk/share/zenkoro";
        // A program copied elsewhere alone still finds the installed texts.
        QTest::newRow("the prefix last") << "/home/u/bin" << QStringList{"/usr/share/zenkoro" + probe}
                                         << "/usr/share/zenkoro";
        QTest::newRow("a folder without the probe does not count")
            << "/usr/bin" << QStringList{"/usr/bin/ding.wav", "/usr/share/zenkoro/command_ap.txt"} << QString();
        QTest::newRow("program at the root") << "/" << QStringList{"/share/zenkoro" + probe} << "/share/zenkoro";
    }
    void lookup()
    {
        QFETCH(QString, programDir);
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        const QSet<QString> existing(files.begin(), files.end());
        QStringList asked;
        const QString found = FindDataFolder(programDir, QStringLiteral("/usr/share/zenkoro"), [&](const QString &p) {
            asked << p;
            return existing.contains(p);
        });
        QCOMPARE(found, expected);
        // Paths are asked in their clean form (no "..", no "//").
        for (const QString &p : asked)
            QVERIFY2(!p.contains(QStringLiteral("..")) && !p.contains(QStringLiteral("//")), qPrintable(p));
    }

    void noInstallPrefix()
    {
        QCOMPARE(FindDataFolder(QStringLiteral("/a/bin"), QString(), [](const QString &) { return false; }), QString());
        QCOMPARE(FindDataFolder(QString(), QStringLiteral("/usr/share/zenkoro"),
                                [](const QString &p) { return p == QStringLiteral("/usr/share/zenkoro/x.wav"); },
                                QStringLiteral("x.wav")),
                 QStringLiteral("/usr/share/zenkoro"));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_data_folder.moc"
