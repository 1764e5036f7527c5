// The application launcher over the fake backend: command splitting, the path
// rules, how programs, documents, folders, addresses and shortcuts are
// started, the wait until a new process runs, and the process-window search.
// The shortcut maker's launchers (their Exec quoting read back by the
// launcher's parser, the checks before one is written) and the desktop entry
// reader.
#include "core/command_line.h"
#include "core/desktop_entry.h"
#include "core/job.h"
#include "core/launcher.h"
#include "shell/shortcut_maker.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_launcher_backend.h"

#include <QSignalSpy>
#include <QTest>

using namespace zk;

namespace {

FakeLauncherBackend linuxFs()
{
    FakeLauncherBackend b;
    b.home = QStringLiteral("/home/taro");
    b.folders = {QStringLiteral("/opt/zenkoro"), QStringLiteral("/home/taro/Music")};
    b.env = {{QStringLiteral("HOME"), QStringLiteral("/home/taro")},
             {QStringLiteral("TOOLS"), QStringLiteral("/usr/local/tools")},
             {QStringLiteral("EMPTY"), QString()}};
    return b;
}

// A launcher over the fake backend, with the program in /opt/zenkoro.
struct Rig {
    FakeLauncherBackend b = linuxFs();
    FakeClock clock;
    Launcher l{b, clock, QStringLiteral("/opt/zenkoro")};
};

}  // namespace

class TestLauncher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The text helpers of the launcher.
    void textHelpers_data()
    {
        QTest::addColumn<QString>("helper");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Unquote: quoted") << "Unquote" << "\"C:\\Program Files\\a.exe\"" << "C:\\Program Files\\a.exe";
        QTest::newRow("Unquote: twice quoted") << "Unquote" << "\"\"a b\"\"" << "a b";
        QTest::newRow("Unquote: empty quotes") << "Unquote" << "\"\"" << "";
        QTest::newRow("Unquote: lone quote") << "Unquote" << "\"" << "\"";
        QTest::newRow("Unquote: quote on one side only") << "Unquote" << "a.exe\"" << "a.exe\"";
        QTest::newRow("Unquote leading: trimmed first") << "UnquoteLeading" << "  \"a b\"  " << "a b";
        QTest::newRow("Unquote leading: last character goes whatever it is") << "UnquoteLeading" << "\"abc" << "ab";
        QTest::newRow("Unquote leading: once only") << "UnquoteLeading" << "\"\"a\"\"" << "\"a\"";
        QTest::newRow("PathExtension: exe") << "PathExtension" << "C:\\a\\b.EXE" << ".EXE";
        QTest::newRow("PathExtension: none") << "PathExtension" << "/usr/bin/xterm" << "";
        QTest::newRow("PathExtension: dot in folder only") << "PathExtension" << "/opt/app.d/run" << "";
    }
    void textHelpers()
    {
        QFETCH(QString, helper);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QMap<QString, QString (*)(const QString &)> helpers{
            {"Unquote", [](const QString &t) { return Unquote(t); }},
            {"UnquoteLeading", [](const QString &t) { return Unquote(t, QuoteStrip::Leading); }},
            {"PathExtension", PathExtension}};
        QCOMPARE(helpers.value(helper)(text), expected);
    }

    // One tokenizer, two quoting rules: the parameters typed for a program and
    // the Exec value of a desktop entry.
    void splitArguments_data()
    {
        QTest::addColumn<bool>("exec");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("plain: words") << false << "-x  -y z" << QStringList{"-x", "-y", "z"};
        QTest::newRow("plain: quoted group") << false << "-f \"a b.txt\" -q" << QStringList{"-f", "a b.txt", "-q"};
        QTest::newRow("plain: full-width space is no separator") << false << "a　b" << QStringList{"a　b"};
        QTest::newRow("exec: quoted program") << true << "\"/opt/My App/run\" -x" << QStringList{"/opt/My App/run", "-x"};
        QTest::newRow("exec: escapes inside quotes") << true << "sh -c \"echo \\\"\\$HOME\\\" \\\\ \\`x\\`\""
                                                     << QStringList{"sh", "-c", "echo \"$HOME\" \\ `x`"};
        QTest::newRow("exec: backslash before another character stays") << true << "\"a\\b\"" << QStringList{"a\\b"};
        QTest::newRow("exec: empty quoted argument") << true << "app \"\" z" << QStringList{"app", "", "z"};
        QTest::newRow("exec: quote inside a word") << true << "--title=\"a b\"c" << QStringList{"--title=a bc"};
        // Where the rules part: a backslash escapes nothing in typed
        // parameters, and only a desktop entry breaks at a line break.
        QTest::newRow("plain: backslash before a quote ends the group") << false << "sh -c \"echo \\\"x\\\"\""
                                                                         << QStringList{"sh", "-c", "echo \\x\\"};
        QTest::newRow("exec: backslash before a quote escapes it") << true << "sh -c \"echo \\\"x\\\"\""
                                                                   << QStringList{"sh", "-c", "echo \"x\""};
        QTest::newRow("plain: a line break stays in the word") << false << "a\nb" << QStringList{"a\nb"};
        QTest::newRow("exec: a line break separates") << true << "a\nb" << QStringList{"a", "b"};
    }
    void splitArguments()
    {
        QFETCH(bool, exec);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(SplitArguments(text, exec ? ArgumentQuoting::DesktopExec : ArgumentQuoting::Plain), expected);
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("linux absolute") << "/usr/bin/xterm" << "" << "/usr/bin/xterm";
        QTest::newRow("linux bare") << "run.sh" << "" << "/opt/zenkoro/run.sh";
        QTest::newRow("linux parent") << "../share/x" << "" << "/opt/share/x";
        QTest::newRow("linux not above the root") << "../../../../x" << "" << "/x";
        QTest::newRow("linux in home") << "~/bin/x" << "" << "/home/taro/bin/x";
        QTest::newRow("linux $VAR") << "$TOOLS/x" << "" << "/usr/local/tools/x";
        QTest::newRow("linux ${VAR}") << "${TOOLS}/x" << "" << "/usr/local/tools/x";
        QTest::newRow("linux %VAR%") << "%TOOLS%/x" << "" << "/usr/local/tools/x";
        QTest::newRow("linux %HOME% then parent") << "%HOME%/../x" << "" << "/home/x";
        QTest::newRow("linux names keep their case") << "$tools/x" << "/b" << "/x";
        QTest::newRow("linux set but empty") << "a$EMPTY.sh" << "" << "/opt/zenkoro/a.sh";
        QTest::newRow("linux quoted with blanks") << "\"/path with space/a b\"" << "" << "/path with space/a b";
        QTest::newRow("linux blanks around the quotes") << "  \" /x/a b \"  " << "" << "/x/a b";
        QTest::newRow("linux other base") << "sub/x" << "/srv/work" << "/srv/work/sub/x";
        QTest::newRow("linux backslash is an ordinary character") << "a\\b" << "" << "/opt/zenkoro/a\\b";
        QTest::newRow("linux empty path is the base") << "" << "" << "/opt/zenkoro";
    }
    void resolve()
    {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QFETCH(QString, expected);
        Rig r;
        QCOMPARE(r.l.resolvePath(path, base), expected);
    }

    void relative_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("linux sibling") << "/opt/tools/x" << "" << "../tools/x";
        QTest::newRow("linux below") << "/opt/zenkoro/bin/x" << "" << "bin/x";
        QTest::newRow("linux far") << "/usr/bin/x" << "" << "../../usr/bin/x";
        QTest::newRow("linux relative stays") << "bin/x" << "" << "bin/x";
        QTest::newRow("linux home form stays") << "~/x" << "" << "~/x";
        QTest::newRow("linux base is a file") << "/opt/zenkoro/a/x" << "/opt/zenkoro/zenkoro" << "a/x";
    }
    void relative()
    {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QFETCH(QString, expected);
        Rig r;
        QCOMPARE(r.l.makeRelativePath(path, base), expected);
    }

    void launchLinux_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("outcome");         // "start", "open", "fail"
        QTest::addColumn<qint64>("result");           // 0, 1, or 2 for a process id
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("target");          // started program or opened target
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("bare name on the search path")
            << "xterm -e top" << "start" << qint64(2) << "-e top" << "/usr/bin/xterm" << QStringList{"-e", "top"};
        QTest::newRow("variable naming a program on the search path")
            << "$EDITOR notes" << "start" << qint64(2) << "notes" << "/usr/bin/vim" << QStringList{"notes"};
        QTest::newRow("terminal desktop entry")
            << "~/Desktop/top.desktop" << "start" << qint64(1) << "" << "x-terminal-emulator"
            << QStringList{"-e", "/usr/bin/htop", "-d", "10"};
        QTest::newRow("program beside zenkoro wins over the search path")
            << "tool.sh -v" << "start" << qint64(2) << "-v" << "/opt/zenkoro/tool.sh" << QStringList{"-v"};
        QTest::newRow("executable runs itself, whatever its type")
            << "./tool.sh \"a b\"" << "start" << qint64(2) << "\"a b\"" << "/opt/zenkoro/tool.sh" << QStringList{"a b"};
        QTest::newRow("document through its application")
            << "\"/home/taro/My Docs/a b.txt\" -ignored" << "start" << qint64(2) << "\"/home/taro/My Docs/a b.txt\""
            << "/usr/bin/gedit" << QStringList{"--new-window", "/home/taro/My Docs/a b.txt"};
        QTest::newRow("document, quoted Exec")
            << "~/report.pdf" << "start" << qint64(2) << "/home/taro/report.pdf" << "/opt/My Viewer/view"
            << QStringList{"--page", "1", "/home/taro/report.pdf"};
        QTest::newRow("document nobody claims") << "~/notes.zzz" << "open" << qint64(1) << "" << "/home/taro/notes.zzz"
                                                << QStringList{};
        QTest::newRow("folder") << "~/Music" << "open" << qint64(1) << "" << "/home/taro/Music" << QStringList{};
        QTest::newRow("internet shortcut") << "$HOME/site.url" << "start" << qint64(2) << "/home/taro/site.url"
                                           << "xdg-open" << QStringList{"/home/taro/site.url"};
        QTest::newRow("case is kept") << "/Opt/Tool" << "start" << qint64(2) << "" << "/Opt/Tool" << QStringList{};
        QTest::newRow("desktop entry")
            << "~/Desktop/editor.desktop --not-used" << "start" << qint64(1) << "--not-used" << "/usr/bin/gedit"
            << QStringList{"--standalone", "a b"};
        QTest::newRow("link desktop entry") << "~/Desktop/site.desktop" << "open" << qint64(1) << ""
                                            << "https://example.org/" << QStringList{};
        QTest::newRow("missing desktop entry") << "~/Desktop/gone.desktop" << "fail" << qint64(0) << "" << ""
                                               << QStringList{};
        QTest::newRow("line breaks are blanks") << "/bin/app\r\n-a\n-b" << "start" << qint64(2) << "-a -b" << "/bin/app"
                                                << QStringList{"-a", "-b"};
        QTest::newRow("empty") << "" << "fail" << qint64(0) << "" << "" << QStringList{};
        QTest::newRow("blanks") << "   " << "fail" << qint64(0) << "" << "" << QStringList{};
        // The command part of a text in two pairs of quotes is the first pair alone.
        QTest::newRow("empty quotes first") << "\"\"/bin/x\"\" a" << "fail" << qint64(0) << "/bin/x\"\" a" << ""
                                            << QStringList{};
    }
    void launchLinux()
    {
        QFETCH(QString, command);
        QFETCH(QString, outcome);
        QFETCH(qint64, result);
        QFETCH(QString, parameters);
        QFETCH(QString, target);
        QFETCH(QStringList, arguments);
        Rig rig;
        auto &[b, clock, l] = rig;
        b.env.insert(QStringLiteral("EDITOR"), QStringLiteral("vim"));
        b.searchPath = {{QStringLiteral("xterm"), QStringLiteral("/usr/bin/xterm")},
                        {QStringLiteral("vim"), QStringLiteral("/usr/bin/vim")},
                        {QStringLiteral("tool.sh"), QStringLiteral("/usr/bin/tool.sh")}};
        b.executables = {QStringLiteral("/opt/zenkoro/tool.sh"), QStringLiteral("/usr/bin/xterm")};
        b.files = {QStringLiteral("/home/taro/My Docs/a b.txt"), QStringLiteral("/home/taro/report.pdf"),
                   QStringLiteral("/home/taro/notes.zzz"), QStringLiteral("/home/taro/site.url")};
        b.associations = {{QStringLiteral(".txt"), QStringLiteral("/usr/bin/gedit --new-window %U")},
                          {QStringLiteral(".sh"), QStringLiteral("/usr/bin/gedit %U")},
                          {QStringLiteral(".pdf"), QStringLiteral("\"/opt/My Viewer/view\" --page 1 \"%f\"")}};
        b.fileTexts = {
            {QStringLiteral("/home/taro/Desktop/editor.desktop"),
             QStringLiteral("[Desktop Entry]\nType=Application\nName=Editor\nExec=/usr/bin/gedit --standalone %F \"a b\"\n")},
            {QStringLiteral("/home/taro/Desktop/top.desktop"),
             QStringLiteral("[Desktop Entry]\nType=Application\nTerminal=true\nExec=/usr/bin/htop -d 10\n")},
            {QStringLiteral("/home/taro/Desktop/site.desktop"),
             QStringLiteral("[Desktop Entry]\nType=Link\nURL=https://example.org/\n")}};
        QString params;
        const qint64 r = l.launchCommand(command, nullptr, &params);
        QCOMPARE(r > 1 ? qint64(2) : r, result);
        QCOMPARE(l.pendingWaits(), r > 1 ? 1 : 0);  // shortcuts and opened targets are not waited for
        QCOMPARE(params, parameters);
        QCOMPARE(b.opened, outcome == QLatin1String("open") ? QStringList{target} : QStringList());
        QCOMPARE(b.started.size(), outcome == QLatin1String("start") ? 1 : 0);
        if (!b.started.isEmpty()) {
            QCOMPARE(b.started.first().program, target);
            QCOMPARE(b.started.first().arguments, arguments);
        }
    }

    void startFailureAndNotice()
    {
        Rig rig;
        auto &[b, clock, l] = rig;
        b.startFails = true;
        QSignalSpy settled(&l, &Launcher::processSettled);
        QString prog = QStringLiteral("\"missing app\"");
        QString params = QStringLiteral("-x");
        QCOMPARE(l.launchApplication(prog, params), qint64(0));
        QCOMPARE(l.pendingWaits(), 0);
        QCOMPARE(prog, QStringLiteral("missing app"));
        const LaunchErrorNotice n = LaunchErrorMessage(prog, params);
        QCOMPARE(n.text, QStringLiteral("アプリ起動エラー\r\nap       = missing app\r\nパラメータ= -x"));
        // A folder or address the desktop cannot open is a failure too.
        QString folder = QStringLiteral("~/Music");
        QString none;
        QCOMPARE(l.launchApplication(folder, none), qint64(0));
        QCOMPARE(settled.count(), 0);
    }

    // The wait until a started process runs, a continuation (the call
    // returns at once): settled, and its window activated, as soon as it
    // runs, or when it has ended. A watched process is not asked again, and
    // its end is told.
    void waitUntilRunning_data()
    {
        QTest::addColumn<int>("watch");  // ProcessWatch
        QTest::addColumn<bool>("runs");
        QTest::newRow("not watched") << int(ProcessWatch::Unsupported) << true;
        QTest::newRow("watched, running") << int(ProcessWatch::Running) << true;
        QTest::newRow("watched, ended already") << int(ProcessWatch::Ended) << false;
    }
    void waitUntilRunning()
    {
        QFETCH(int, watch);
        QFETCH(bool, runs);
        Rig rig;
        auto &[b, clock, l] = rig;
        b.watchAnswer = ProcessWatch(watch);
        b.processesAlive = runs;
        QSignalSpy settled(&l, &Launcher::processSettled);
        QSignalSpy ended(&l, &Launcher::processEnded);
        QString prog = QStringLiteral("/bin/app");
        QString params;
        const qint64 pid = l.launchApplication(prog, params);
        QCOMPARE(settled.count(), 0);
        // The clock stands still: an ended process is settled all the same.
        QTRY_COMPARE(settled.count(), 1);
        QCOMPARE(settled.first(), (QVariantList{pid, runs}));
        QCOMPARE(b.activated, runs ? QList<qint64>{pid} : QList<qint64>{});
        QCOMPARE(b.aliveQueries.size(), runs ? 1 : 0);
        QCOMPARE(l.pendingWaits(), 0);
        QCOMPARE(ended.count(), runs ? 0 : 1);
        b.endProcess(pid);
        QCOMPARE(ended.count(), ProcessWatch(watch) == ProcessWatch::Unsupported ? 0 : 1);
    }

    void waitGivesUpAfterTheLimit()
    {
        Rig rig;
        auto &[b, clock, l] = rig;
        b.processesAlive = false;
        QSignalSpy settled(&l, &Launcher::processSettled);
        QString prog = QStringLiteral("/bin/app");
        QString params;
        const qint64 pid = l.launchApplication(prog, params);
        // Just before the limit the launcher keeps asking and does not give up.
        clock.advanceMs(999);
        QTRY_VERIFY(b.aliveQueries.size() >= 3);
        QCOMPARE(settled.count(), 0);
        clock.advanceMs(1);
        QTRY_COMPARE(settled.count(), 1);
        QCOMPARE(settled.first(), (QVariantList{pid, false}));
        QVERIFY(b.activated.isEmpty());
        QCOMPARE(l.pendingWaits(), 0);
    }

    void findProcessWindow_data()
    {
        QTest::addColumn<QList<TopLevelWindow>>("windows");
        QTest::addColumn<quint64>("expected");
        QTest::addColumn<QStringList>("listed");       // handles listed, empty = failure text
        const auto w = [](quint64 h, qint64 pid, const char *cls, bool visible = true) {
            return TopLevelWindow{h, pid, QString::fromLatin1(cls), QStringLiteral("t%1").arg(h), visible};
        };
        QTest::newRow("none") << QList<TopLevelWindow>{} << quint64(0) << QStringList{};
        QTest::newRow("one") << QList<TopLevelWindow>{w(1, 9, "Other"), w(2, 7, "Main")} << quint64(2)
                             << QStringList{"2"};
        QTest::newRow("hidden and IME bars are no candidates")
            << QList<TopLevelWindow>{w(1, 7, "Main", false), w(2, 7, "MSIME98Toolbar")} << quint64(0) << QStringList{};
        QTest::newRow("owner window gives way") << QList<TopLevelWindow>{w(1, 7, "ThunderRT6Main"), w(2, 7, "Form")}
                                                << quint64(2) << QStringList{"2"};
        QTest::newRow("lone owner window") << QList<TopLevelWindow>{w(1, 7, "ThunderRT6Main")} << quint64(1)
                                           << QStringList{"1"};
        QTest::newRow("owner after a window") << QList<TopLevelWindow>{w(1, 7, "Form"), w(2, 7, "ThunderRT6Main")}
                                              << quint64(1) << QStringList{"1"};
        QTest::newRow("several") << QList<TopLevelWindow>{w(1, 7, "A"), w(2, 7, "ThunderRT6Main"), w(3, 7, "B")}
                                 << quint64(0) << QStringList{"1", "3"};
    }
    void findProcessWindow()
    {
        QFETCH(QList<TopLevelWindow>, windows);
        QFETCH(quint64, expected);
        QFETCH(QStringList, listed);
        QString list = QStringLiteral("old");
        QCOMPARE(FindProcessWindow(windows, 7, list), expected);
        QString want = QStringLiteral("ウィンドウハンドルの特定に失敗\r\n再度、行って見て下さい。");
        if (!listed.isEmpty())
            want.clear();
        for (const TopLevelWindow &w : windows) {
            if (listed.contains(QString::number(w.handle)))
                want += QStringLiteral("%1\t%2\t%3\r\n").arg(w.handle).arg(w.className, w.title);
        }
        QCOMPARE(list, want);
    }

    // The arguments of a command line, for a launcher, join back into exactly the line.
    void argumentsJoinBackToTheLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("plain") << "-auto -shutdown -time 90" << QStringList{"-auto", "-shutdown", "-time", "90"};
        QTest::newRow("bracketed value whole")
            << "-auto -resume_ap < notepad \"a b\".txt > -no_beep y"
            << QStringList{"-auto", "-resume_ap", "< notepad \"a b\".txt >", "-no_beep", "y"};
        QTest::newRow("nested brackets") << "-appear <a <b c> d> -x" << QStringList{"-appear", "<a <b c> d>", "-x"};
        QTest::newRow("padding kept as empty words") << "-auto -resume  10"
                                                     << QStringList{"-auto", "-resume", "", "10"};
        QTest::newRow("phrase words") << "-appear x<y z> \"q" << QStringList{"-appear", "x<y", "z>", "\"q"};
        QTest::newRow("unclosed bracket takes the rest") << "-appear <a b -topmost n"
                                                         << QStringList{"-appear", "<a b -topmost n"};
        QTest::newRow("line break in the application") << "-resume_ap < a\r\nb >"
                                                       << QStringList{"-resume_ap", "< a\r\nb >"};
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
            const QString exec = EscapeKeyValue(QuoteExecArgument(a));
            const QString text = QStringLiteral("[Desktop Entry]\nExec=x ") + exec + '\n';
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
        const DesktopEntry link =
            ParseDesktopEntry(QStringLiteral("[Desktop Entry]\nType=Link\nURL=https://example.org/\nHidden=true\n"));
        QCOMPARE(link.url, QStringLiteral("https://example.org/"));
        QVERIFY(link.hidden);
    }
};

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
