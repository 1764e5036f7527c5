// Reading desktop entries and mimeapps.list files: value escapes, lists,
// groups, and the quoting of Exec lines.
#include "core/desktop_entry.h"

#include <QTest>

using namespace zk;

class TstDesktopEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitExecLine_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("words") << "gedit --new-window %U" << QStringList{"gedit", "--new-window", "%U"};
        QTest::newRow("quoted program") << "\"/opt/My App/run\" -x" << QStringList{"/opt/My App/run", "-x"};
        QTest::newRow("escapes inside quotes") << "sh -c \"echo \\\"\\$HOME\\\" \\\\ \\`x\\`\""
                                               << QStringList{"sh", "-c", "echo \"$HOME\" \\ `x`"};
        QTest::newRow("backslash before another character stays") << "\"a\\b\"" << QStringList{"a\\b"};
        QTest::newRow("empty quoted argument") << "app \"\" z" << QStringList{"app", "", "z"};
        QTest::newRow("runs of blanks") << "  app \t -v  " << QStringList{"app", "-v"};
        QTest::newRow("quote inside a word") << "--title=\"a b\"c" << QStringList{"--title=a bc"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitExecLine()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, expected);
        QCOMPARE(SplitExecLine(exec), expected);
    }

    void values()
    {
        QCOMPARE(UnescapeKeyValue(QStringLiteral("a\\sb\\tc\\nd\\\\e\\qf")), QStringLiteral("a b\tc\nd\\e\\qf"));
        QCOMPARE(UnescapeKeyValue(QStringLiteral("end\\")), QStringLiteral("end\\"));
        QCOMPARE(SplitKeyList(QStringLiteral("a.desktop;b.desktop;")), (QStringList{"a.desktop", "b.desktop"}));
        QCOMPARE(SplitKeyList(QStringLiteral(" a\\;b ;;c")), (QStringList{"a;b", "c"}));
        QCOMPARE(SplitKeyList(QString()), QStringList{});
    }

    void keyFile()
    {
        const KeyFileGroups g = ParseKeyFile(QStringLiteral(
            "# comment\r\n"
            "ignored=before any group\n"
            "[Default Applications]\r\n"
            "text/plain = a.desktop;b.desktop\r\n"
            "text/plain=second.desktop\n"
            "  [Added Associations]  \n"
            "image/png=c.desktop;\n"
            "no equals sign\n"
            "=no key\n"
            "Name[ja]=名前\n"));
        QCOMPARE(g.keys(), (QStringList{"Added Associations", "Default Applications"}));
        QCOMPARE(g.value("Default Applications").value("text/plain"), QStringLiteral("a.desktop;b.desktop"));
        QCOMPARE(g.value("Added Associations").size(), 2);
        QCOMPARE(g.value("Added Associations").value("Name[ja]"), QStringLiteral("名前"));
    }

    void desktopEntry()
    {
        const DesktopEntry e = ParseDesktopEntry(QStringLiteral(
            "[Desktop Action new]\nExec=wrong\n"
            "[Desktop Entry]\nType=Application\nExec=\"/opt/a b/x\" --dir\\s%f\nPath=/srv\nTerminal=true\n"));
        QVERIFY(e.valid);
        QCOMPARE(e.type, QStringLiteral("Application"));
        QCOMPARE(e.exec, QStringLiteral("\"/opt/a b/x\" --dir %f"));
        QCOMPARE(e.path, QStringLiteral("/srv"));
        QVERIFY(e.terminal);
        QVERIFY(!e.hidden);
        QVERIFY(!ParseDesktopEntry(QStringLiteral("[Other]\nExec=x\n")).valid);
        const DesktopEntry link = ParseDesktopEntry(QStringLiteral("[Desktop Entry]\nType=Link\nURL=https://example.org/\nHidden=true\n"));
        QCOMPARE(link.url, QStringLiteral("https://example.org/"));
        QVERIFY(link.hidden);
    }
};

QTEST_GUILESS_MAIN(TstDesktopEntry)
#include "tst_desktop_entry.moc"
