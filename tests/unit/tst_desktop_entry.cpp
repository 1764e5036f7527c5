// Reading desktop entries and mimeapps.list files: value escapes, lists and
// groups. (Exec lines are split with the launcher's SplitArguments.)
#include "core/desktop_entry.h"

#include <QTest>

using namespace zk;

class TstDesktopEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
