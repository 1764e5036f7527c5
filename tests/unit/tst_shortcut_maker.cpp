// The shortcut maker's rules: the argument list of a command line, the Exec
// quoting read back by the program's own launcher parser, and the checks
// before a launcher is written; the desktop entry reader they rely on.
#include "core/command_line.h"
#include "core/desktop_entry.h"
#include "shell/shortcut_maker.h"

#include <QTest>

using namespace zk;

class TstShortcutMaker : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The program joins its arguments back into exactly the line.
    void argumentsJoinBackToTheLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("arguments");  // empty: only the join is checked
        QTest::newRow("plain") << "-auto -shutdown -time 90" << QStringList{"-auto", "-shutdown", "-time", "90"};
        QTest::newRow("bracketed value whole")
            << "-auto -resume_ap < notepad \"a b\".txt > -no_beep y"
            << QStringList{"-auto", "-resume_ap", "< notepad \"a b\".txt >", "-no_beep", "y"};
        QTest::newRow("nested brackets") << "-appear <a <b c> d> -x" << QStringList{"-appear", "<a <b c> d>", "-x"};
        QTest::newRow("padding kept as empty words") << "-auto -resume  10" << QStringList{"-auto", "-resume", "", "10"};
        QTest::newRow("phrase words") << "-appear x<y z> \"q" << QStringList{"-appear", "x<y", "z>", "\"q"};
        QTest::newRow("unclosed bracket takes the rest") << "-appear <a b -topmost n"
                                                         << QStringList{"-appear", "<a b -topmost n"};
        QTest::newRow("line break in the application") << "-resume_ap < a\r\nb >" << QStringList{"-resume_ap", "< a\r\nb >"};
        QTest::newRow("outer blanks") << "  -auto " << QStringList{"-auto"};
    }
    void argumentsJoinBackToTheLine()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, arguments);
        const QStringList args = ArgumentsOfCommandLine(line);
        QCOMPARE(args, arguments);
        QCOMPARE(JoinArguments(args), line.trimmed());
    }

    // Written into Exec and read back by the launcher: the same arguments.
    void execRoundTrip()
    {
        const QStringList args{QString(), "plain", "two words", "<a b>", "say \"hi\"", "$HOME", "`x`",
                               "back\\slash", "50%", "%f", "a=b", "tab\there", "line\nbreak", "it's", "~/x;y|z&",
                               "日本語 テキスト", " lead"};
        ShortcutFields f;
        f.boxes[kBoxFile] = QStringLiteral("/home/u/Desktop/t.desktop");
        f.boxes[kBoxTarget] = QStringLiteral("/opt/My Apps/zenkoro");
        f.boxes[kBoxArguments] = JoinArguments({"-auto", "-resume_ap", "< notepad \"a b\" 50% >"});
        const DesktopEntry plain = ParseDesktopEntry(DesktopLauncherText(f));
        QVERIFY(plain.valid);
        QCOMPARE(ExecArguments(plain.exec),
                 (QStringList{"/opt/My Apps/zenkoro", "-auto", "-resume_ap", "< notepad \"a b\" 50% >"}));

        // Each awkward argument on its own, through quoting and the key-file escapes.
        for (const QString &a : args) {
            const QString text = QStringLiteral("[Desktop Entry]\nExec=x ") + EscapeKeyValue(QuoteExecArgument(a)) + '\n';
            QCOMPARE(ExecArguments(ParseDesktopEntry(text).exec), (QStringList{"x", a}));
        }
    }

    void launcherText()
    {
        ShortcutFields f;
        f.boxes[kBoxFile] = QStringLiteral("\"/d/朝の 停止\"");  // quoted, without .desktop
        f.boxes[kBoxTarget] = QStringLiteral("/usr/bin/zenkoro");
        f.boxes[kBoxArguments] = QStringLiteral("-auto -reboot");
        f.boxes[kBoxComment] = QStringLiteral("二行\n目");
        f.boxes[kBoxHotkey] = QStringLiteral("Ctrl+Alt+Z");
        f.windowStyle = 2;
        QCOMPARE(LauncherPath(f.boxes[kBoxFile]), QStringLiteral("/d/朝の 停止.desktop"));
        QCOMPARE(DesktopLauncherText(f), QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n"
                                                        "Name=朝の 停止\nComment=二行\\n目\n"
                                                        "Exec=/usr/bin/zenkoro -auto -reboot\nTerminal=false\n"));
        f.boxes[kBoxFolder] = QStringLiteral("/srv/work");
        f.boxes[kBoxIcon] = QStringLiteral("system-shutdown");
        const QString text = DesktopLauncherText(f);
        QVERIFY(text.contains(QStringLiteral("\nPath=/srv/work\n")));
        QVERIFY(text.contains(QStringLiteral("\nIcon=system-shutdown\n")));
    }

    void checks()
    {
        const QStringList dirs{"/d", "/d/sub", "/w"};
        QStringList files{"/bin/zk"};
        ShortcutFileQueries fs;
        fs.isDir = [&](const QString &p) { return dirs.contains(p); };
        fs.isFile = [&](const QString &p) { return files.contains(p); };

        QCOMPARE(FolderOfPath(QStringLiteral(" \"/d/sub\" "), fs), QStringLiteral("/d/sub"));
        QCOMPARE(FolderOfPath(QStringLiteral("\"/d/x y/app\""), fs), QStringLiteral("/d/x y"));
        QCOMPARE(FolderOfPath(QStringLiteral("/zk"), fs), QStringLiteral("/"));
        QCOMPARE(FolderOfPath(QStringLiteral("zk"), fs), QString());

        // No TAB in the hand-over: everything is the file name, the target check fails.
        ShortcutFields f = FieldsFromHandOver(QStringLiteral("/d/a.desktop"));
        QCOMPARE(f.boxes[kBoxTarget], QString());
        ShortcutCheck c = CheckShortcut(f, fs);
        QCOMPARE(c.result, ShortcutCheck::Refused);
        QCOMPARE(c.focusBox, int(kBoxTarget));

        f = FieldsFromHandOver(QStringLiteral("/nowhere/a.desktop\t/bin/zk\t-auto"));
        c = CheckShortcut(f, fs);
        QCOMPARE(c.focusBox, int(kBoxFile));
        QCOMPARE(c.text, QStringLiteral("/nowhere/a.desktop\r\n\r\nは有効なファイルパスではありません！"));
        f.boxes[kBoxFile] = QStringLiteral("/d/sub");  // a folder is no file name
        QCOMPARE(CheckShortcut(f, fs).focusBox, int(kBoxFile));

        f.boxes[kBoxFile] = QStringLiteral("/d/a");
        f.boxes[kBoxFolder] = QStringLiteral("/gone");
        QCOMPARE(CheckShortcut(f, fs).focusBox, int(kBoxFolder));
        f.boxes[kBoxFolder] = QString();  // empty is allowed
        QCOMPARE(CheckShortcut(f, fs).result, ShortcutCheck::Ok);
        files << QStringLiteral("/d/a.desktop");  // the file that would be written
        QCOMPARE(CheckShortcut(f, fs).result, ShortcutCheck::AskOverwrite);
    }

    // Reading desktop entries and mimeapps.list files: value escapes, lists
    // and groups.
    void keyValues()
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

QTEST_GUILESS_MAIN(TstShortcutMaker)
#include "tst_shortcut_maker.moc"
