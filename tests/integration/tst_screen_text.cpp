// The screen text watcher against real dialogs: zenity on Xvfb, its texts
// read over the accessibility bus. The phrase shows up while a dialog shows
// and goes when it is closed; the title filter picks one of two dialogs; a
// stopped (hung) dialog never holds up the thread that asks. End to end, the
// binary's -appear run fires after the dialog appears, never before.
#include "platform/linux/linux_screen_text.h"
#include "platform/linux/x11_top_windows.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/a11y_desktop.h"
#endif

#include <csignal>

using namespace zk;
using zktest::A11yDesktop;

namespace {

// The answer of one fresh look, waited for in the event loop.
std::optional<PhraseMatch> Look(LinuxScreenText &watcher, const QString &spec, bool browser = false,
                                int timeoutMs = 10000)
{
    // Shared: a look that answers after the deadline still finds it.
    const auto answer = std::make_shared<std::optional<PhraseMatch>>();
    watcher.scanThen(spec, browser, [answer](const PhraseMatch &m) { *answer = m; });
    QDeadlineTimer deadline(timeoutMs);
    while (!*answer && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return *answer;
}

// Looks again until the phrase is (or is not) found; the last answer.
PhraseMatch LookUntil(LinuxScreenText &watcher, const QString &spec, bool found, int timeoutMs = 30000,
                      bool browser = false)
{
    QDeadlineTimer deadline(timeoutMs);
    PhraseMatch last;
    while (!deadline.hasExpired()) {
        const std::optional<PhraseMatch> m = Look(watcher, spec, browser);
        if (m) {
            last = *m;
            if (m->found == found)
                return last;
        }
        QTest::qWait(200);
    }
    return last;
}

// Waits, without asking for a look, until the latest answer says found (or not).
bool AnswerTurns(const LinuxScreenText &watcher, const QString &spec, bool found, bool browser = false)
{
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        const std::optional<PhraseMatch> m = watcher.latestAnswer(spec, browser);
        if (m && m->found == found)
            return true;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    return false;
}

}  // namespace

class TestScreenText : public QObject {
    Q_OBJECT

    std::unique_ptr<A11yDesktop> m_desktop;
    bool m_reportsOpen = false;  // the two dialogs of the title table

private Q_SLOTS:
    void initTestCase()
    {
        m_desktop = std::make_unique<A11yDesktop>();
        if (!m_desktop->start())
            QSKIP(qPrintable(m_desktop->error()));
        m_desktop->exportToProcess();
    }

    void appearsAndDisappears()
    {
        LinuxScreenText watcher;
        const QString spec = QStringLiteral("\"DISK BACKUP\"");  // one word with a blank
        QVERIFY(!LookUntil(watcher, spec, false).found);
        QProcess *dialog = m_desktop->dialog(QStringLiteral("Copy job"), QStringLiteral("The disk backup has finished."));
        const PhraseMatch shown = LookUntil(watcher, spec, true);
        QVERIFY(shown.found);
        QCOMPARE(shown.windowTitle, QStringLiteral("Copy job"));
        QCOMPARE(shown.matchedText, QStringLiteral("The 　【DISK BACKUP】　 has f"));
        // The tick's way: the latest finished answer, for the same phrase only.
        QVERIFY(watcher.latestAnswer(spec, false).has_value());
        QVERIFY(!watcher.latestAnswer(QStringLiteral("other"), false).has_value());
        A11yDesktop::close(dialog);
        QVERIFY(!LookUntil(watcher, spec, false).found);
    }

    void titleMatchAndTitleFilter_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("title filter: second dialog") << "finished Beta" << true << "Beta report" << "All 　【finished】　";
        QTest::newRow("title filter: no such window") << "finished Gamma" << false << "" << "";
        QTest::newRow("word in a title") << "Beta" << true << "Beta report" << "Beta";
    }
    void titleMatchAndTitleFilter()
    {
        QFETCH(QString, spec);
        QFETCH(bool, found);
        QFETCH(QString, title);
        QFETCH(QString, text);
        LinuxScreenText watcher;
        if (!m_reportsOpen) {
            m_reportsOpen = true;
            m_desktop->dialog(QStringLiteral("Alpha report"), QStringLiteral("All finished"));
            m_desktop->dialog(QStringLiteral("Beta report"), QStringLiteral("All finished"));
            // Both dialogs can be read before the table starts.
            QVERIFY(LookUntil(watcher, QStringLiteral("finished Alpha"), true).found);
            QVERIFY(LookUntil(watcher, QStringLiteral("finished Beta"), true).found);
        }
        const std::optional<PhraseMatch> m = Look(watcher, spec);
        QVERIFY(m.has_value());
        QCOMPARE(m->found, found);
        QCOMPARE(m->windowTitle, title);
        QCOMPARE(m->matchedText, text);
    }

    // A dialog without a title goes by the texts inside it.
    void untitledDialog()
    {
        QProcess *dialog = m_desktop->dialog(QString(), QStringLiteral("Nameless notice"));
        LinuxScreenText watcher;
        const PhraseMatch m = LookUntil(watcher, QStringLiteral("nameless"), true);
        QVERIFY(m.found);
        QVERIFY2(m.windowTitle.contains(QStringLiteral("Nameless notice")), qPrintable(m.windowTitle));
        QCOMPARE(m.matchedText, QStringLiteral("nameless"));
        A11yDesktop::close(dialog);
    }

    // With the rescan ten minutes away, the notices alone bring each change
    // into the latest answer, without a look being asked for: a new dialog,
    // a changed label (the old one gone), a changed window title, a dialog
    // closed (it leaves what is kept).
    void noticesBringChangesWithoutAsking()
    {
        LinuxScreenText watcher;
        watcher.setRescanInterval(600000);
        QProcess *progress = m_desktop->spawn(QStringLiteral("zenity"),
                                              {QStringLiteral("--progress"), QStringLiteral("--title"), QStringLiteral("Pipeline"),
                                               QStringLiteral("--text"), QStringLiteral("Phase one")},
                                              m_desktop->environment());
        QVERIFY(LookUntil(watcher, QStringLiteral("Pipeline"), true).found);

        QVERIFY(!Look(watcher, QStringLiteral("Wombat"))->found);
        QProcess *dialog = m_desktop->dialog(QStringLiteral("Burrow"), QStringLiteral("Wombat spotted"));
        QVERIFY2(AnswerTurns(watcher, QStringLiteral("Wombat"), true), "new dialog");
        const int kept = watcher.keptWindows();
        A11yDesktop::close(dialog);
        QVERIFY2(AnswerTurns(watcher, QStringLiteral("Wombat"), false), "closed dialog");
        QTRY_VERIFY_WITH_TIMEOUT(watcher.keptWindows() < kept, 20000);

        QVERIFY(!Look(watcher, QStringLiteral("Numbat"))->found);
        progress->write("# Numbat counted\n");
        QVERIFY2(AnswerTurns(watcher, QStringLiteral("Numbat"), true), "changed label");
        QVERIFY(!Look(watcher, QStringLiteral("Phase one"))->found);  // the old label is gone

        QVERIFY(!Look(watcher, QStringLiteral("Dingo"))->found);
        X11TopWindows x11;
        quint32 id = 0;
        for (const X11TopWindow &w : x11.read())
            if (w.title == QStringLiteral("Pipeline"))
                id = w.id;
        QVERIFY(id != 0);
        QProcess xprop;
        xprop.setProcessEnvironment(m_desktop->environment());
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(id), QStringLiteral("-f"),
                                              QStringLiteral("_NET_WM_NAME"), QStringLiteral("8u"), QStringLiteral("-set"),
                                              QStringLiteral("_NET_WM_NAME"), QStringLiteral("Pipeline Dingo")});
        QVERIFY(xprop.waitForFinished(10000) && xprop.exitCode() == 0);
        QVERIFY2(AnswerTurns(watcher, QStringLiteral("Dingo"), true), "changed title");

        A11yDesktop::close(progress);
    }

    // A deeper dialog: every field of a form is read, to the last one.
    void everyFieldOfAForm()
    {
        QStringList args{QStringLiteral("--forms"), QStringLiteral("--title"), QStringLiteral("Survey"),
                         QStringLiteral("--text"), QStringLiteral("Questions")};
        for (int i = 1; i <= 30; ++i)
            args << QStringLiteral("--add-entry=Question-%1").arg(i);
        QProcess *form = m_desktop->spawn(QStringLiteral("zenity"), args, m_desktop->environment());
        LinuxScreenText watcher;
        const PhraseMatch m = LookUntil(watcher, QStringLiteral("question-30"), true);
        QVERIFY(m.found);
        QCOMPARE(m.matchedText, QStringLiteral("　【question-30】　"));
        A11yDesktop::close(form);
    }

    // A list of 4,200 rows has more on show than one look reads: the rows in
    // view and the text above them are still found, and a phrase not found
    // is not "not shown" but unknown.
    void longList()
    {
        QStringList args{QStringLiteral("--list"), QStringLiteral("--title"), QStringLiteral("Long list"),
                         QStringLiteral("--text"), QStringLiteral("Nightly report"), QStringLiteral("--column"),
                         QStringLiteral("Entry")};
        for (int i = 1; i <= 4200; ++i)
            args << QStringLiteral("row-%1").arg(i, 4, 10, QLatin1Char('0'));
        QProcess *list = m_desktop->spawn(QStringLiteral("zenity"), args, m_desktop->environment());
        LinuxScreenText watcher;
        const PhraseMatch row = LookUntil(watcher, QStringLiteral("row-0002"), true);
        QVERIFY(row.found);
        QCOMPARE(row.windowTitle, QStringLiteral("Long list"));
        QVERIFY(Look(watcher, QStringLiteral("nightly"))->found);
        const std::optional<PhraseMatch> beyond = Look(watcher, QStringLiteral("row-4150"));
        QVERIFY(beyond.has_value());
        QCOMPARE(beyond->shown(), std::optional<bool>());
        A11yDesktop::close(list);
    }

    // A dialog that does not answer costs its budget in the watcher's own
    // thread; this thread's timer goes on ticking meanwhile, and a dialog
    // that opens beside it is seen by its notices alone.
    void hungDialogHoldsNothingUp()
    {
        QProcess *hung = m_desktop->dialog(QStringLiteral("Frozen"), QStringLiteral("stuck text"));
        LinuxScreenText watcher;
        watcher.setRescanInterval(600000);
        QVERIFY(LookUntil(watcher, QStringLiteral("stuck"), true).found);
        QVERIFY(!Look(watcher, QStringLiteral("fresh"))->found);
        ::kill(pid_t(hung->processId()), SIGSTOP);

        int ticks = 0;
        int ticksWhileScanning = 0;
        QTimer timer;
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            if (watcher.scanning())
                ++ticksWhileScanning;
        });
        timer.start();
        QProcess *live = m_desktop->dialog(QStringLiteral("Lively"), QStringLiteral("fresh text"));
        QVERIFY(AnswerTurns(watcher, QStringLiteral("fresh"), true));
        // Every look reads everything again from now on: each one waits for
        // the hung dialog.
        watcher.setRescanInterval(0);
        // The hung dialog's title is the X server's, the live dialog's text its own.
        const std::optional<PhraseMatch> live1 = Look(watcher, QStringLiteral("fresh"));
        const std::optional<PhraseMatch> title = Look(watcher, QStringLiteral("Frozen"));
        const std::optional<PhraseMatch> stuck = Look(watcher, QStringLiteral("stuck"));
        timer.stop();
        QVERIFY(live1 && live1->found);
        QCOMPARE(live1->windowTitle, QStringLiteral("Lively"));
        QVERIFY(title && title->found);
        QVERIFY(stuck && !stuck->found);
        QVERIFY2(ticksWhileScanning > 0, qPrintable(QStringLiteral("ticks %1").arg(ticks)));

        A11yDesktop::close(hung);
        A11yDesktop::close(live);
    }

    // A web page in a real browser: its text and its input values count only
    // with the browser documents included.
    void browserDocument()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("firefox-esr")).isEmpty())
            QSKIP("firefox-esr is not installed");
        QTemporaryDir dir;
        QFile page(dir.path() + QStringLiteral("/page.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        // A line of the page changes every 3 s.
        page.write("<html><head><title>Report page</title></head><body><p>Quarterly figures are ready</p>"
                   "<p id=\"t\">Platypus</p><script>setInterval(() => { const t = document.getElementById('t');"
                   " t.textContent = t.textContent == 'Platypus' ? 'Echidna' : 'Platypus'; }, 3000);</script>"
                   "<form><input type=\"text\" value=\"Ticket-4711\"></form></body></html>");
        page.close();
        QProcessEnvironment env = m_desktop->environment();
        env.insert(QStringLiteral("GNOME_ACCESSIBILITY"), QStringLiteral("1"));
        QProcess *browser = m_desktop->spawn(
            QStringLiteral("firefox-esr"),
            {QStringLiteral("--no-remote"), QStringLiteral("--profile"), dir.path(), QUrl::fromLocalFile(page.fileName()).toString()},
            env);
        LinuxScreenText watcher;
        watcher.setRescanInterval(600000);
        const PhraseMatch text = LookUntil(watcher, QStringLiteral("Quarterly"), true, 90000, true);
        QVERIFY2(text.found, "the page text was not found");
        QVERIFY(text.windowTitle.contains(QStringLiteral("Report page")));
        QVERIFY2(text.matchedText.startsWith(QStringLiteral("　【Quarterly】　 figures")), qPrintable(text.matchedText));
        const PhraseMatch value = LookUntil(watcher, QStringLiteral("ticket-4711"), true, 30000, true);
        QCOMPARE(value.matchedText, QStringLiteral("Value=【ticket-4711】"));
        // The page's changes come into the latest answer by their notices.
        Look(watcher, QStringLiteral("Echidna"), true);
        QVERIFY(AnswerTurns(watcher, QStringLiteral("Echidna"), true, true));
        QVERIFY(AnswerTurns(watcher, QStringLiteral("Echidna"), false, true));
        const std::optional<PhraseMatch> without = Look(watcher, QStringLiteral("Quarterly"), false, 30000);
        QVERIFY(without && !without->found);
        A11yDesktop::close(browser);
    }

    // Without display and session bus nothing is shown, silently: the start
    // check of a disappear run asks (and headless answers Cancel), an appear
    // run goes by its time alone.
    void nothingToReadShowsNothing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("fires");
        QTest::addColumn<bool>("asks");
        QTest::newRow("disappear: asked, cancelled") << "-disappear" << 1 << false << true;
        QTest::newRow("appear: runs to its time") << "-appear" << 0 << true << false;
    }
    void nothingToReadShowsNothing()
    {
        QFETCH(QString, mode);
        QFETCH(int, exitCode);
        QFETCH(bool, fires);
        QFETCH(bool, asks);
        QTemporaryDir home;
        QProcessEnvironment env = m_desktop->environment();
        for (const char *name : {"DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"),
                {QStringLiteral("--conf"), home.path() + QStringLiteral("/Conf.txt"), QStringLiteral("--dry-run"),
                 QStringLiteral("-auto"), QStringLiteral("-shutdown"), QStringLiteral("-time"), QStringLiteral("0"), mode,
                 QStringLiteral("Zenkoro")});
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        QCOMPARE(out.contains(QStringLiteral("dry-run: ExitSession")), fires);
        QCOMPARE(err.contains(QStringLiteral("該当文言は既に表示されていません！")), asks);
        QCOMPARE(err.contains(QStringLiteral("文言状態検知")), asks);
    }

    // The binary: -appear fires once the dialog shows (after the warning
    // phase), and not while it does not; its own window shows the phrase and
    // never counts.
    void binaryFiresAfterTheDialogAppears()
    {
        QTemporaryDir home;
        QProcess zenkoro;
        QProcessEnvironment env = m_desktop->environment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        zenkoro.setProcessEnvironment(env);
        const QString phrase = QStringLiteral("zenkoro");  // also in our own window's title
        zenkoro.start(qEnvironmentVariable("ZENKORO_BIN"),
                      {QStringLiteral("--conf"), home.path() + QStringLiteral("/Conf.txt"), QStringLiteral("--dry-run"),
                       QStringLiteral("-auto"), QStringLiteral("-shutdown"), QStringLiteral("-appear"), phrase});
        QVERIFY(zenkoro.waitForStarted(5000));
        QByteArray out;
        // Longer than the warning phase: nothing fires while the phrase is only
        // in our own window (its title and its phrase box).
        QDeadlineTimer quiet(25000);
        while (!quiet.hasExpired() && zenkoro.state() == QProcess::Running)
            if (zenkoro.waitForReadyRead(int(quiet.remainingTime())))
                out += zenkoro.readAllStandardOutput();
        QVERIFY2(!out.contains("dry-run: ExitSession"), out.constData());
        QCOMPARE(zenkoro.state(), QProcess::Running);

        QProcess *dialog = m_desktop->dialog(QStringLiteral("Renderer"), QStringLiteral("Zenkoro test frames rendered"));
        QElapsedTimer shown;
        shown.start();
        QDeadlineTimer deadline(60000);
        while (!out.contains("dry-run: ExitSession") && !deadline.hasExpired() && zenkoro.state() == QProcess::Running)
            if (zenkoro.waitForReadyRead(500))
                out += zenkoro.readAllStandardOutput();
        out += zenkoro.readAllStandardOutput();
        QVERIFY2(out.contains("dry-run: ExitSession"), out.constData());
        qInfo("dry-run shutdown line %lld ms after the dialog was started (15 s warning included)", shown.elapsed());
        zenkoro.waitForFinished(10000);
        A11yDesktop::close(dialog);
    }
};

QTEST_GUILESS_MAIN(TestScreenText)
#include "tst_screen_text.moc"
