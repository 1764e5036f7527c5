// The screen text watcher against real dialogs: zenity on Xvfb, its texts
// read over the accessibility bus; end to end, the binary's phrase runs.
#include "platform/linux/linux_screen_text.h"
#include "support/run_zenkoro.h"

#include <QFile>
#include <QStandardPaths>
#include <QUrl>
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
std::optional<PhraseMatch> Look(LinuxScreenText &watcher, const QString &spec, bool browser = false)
{
    // Shared: a look that answers after the deadline still finds it.
    const auto answer = std::make_shared<std::optional<PhraseMatch>>();
    watcher.scanThen(spec, browser, [answer](const PhraseMatch &m) { *answer = m; });
    QDeadlineTimer deadline(30000);
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
        QProcess *dialog = m_desktop->dialog(QStringLiteral("Copy job"), QStringLiteral("The disk backup has finished."));
        const PhraseMatch shown = LookUntil(watcher, spec, true);
        QCOMPARE(shown.windowTitle, QStringLiteral("Copy job"));
        QCOMPARE(shown.matchedText, QStringLiteral("The 　【DISK BACKUP】　 has f"));
        // The tick's way: the latest finished answer is kept for its own phrase only.
        QVERIFY(!watcher.latestAnswer(QStringLiteral("other"), false).has_value());
        A11yDesktop::close(dialog);
        QVERIFY(!LookUntil(watcher, spec, false).found);
    }

    // Two dialogs with the same text: the title filter picks the second.
    void titleFilter()
    {
        m_desktop->dialog(QStringLiteral("Alpha report"), QStringLiteral("All finished"));
        m_desktop->dialog(QStringLiteral("Beta report"), QStringLiteral("All finished"));
        LinuxScreenText watcher;
        const PhraseMatch beta = LookUntil(watcher, QStringLiteral("finished Beta"), true);
        QCOMPARE(beta.windowTitle, QStringLiteral("Beta report"));
        QCOMPARE(beta.matchedText, QStringLiteral("All 　【finished】　"));
    }

    // With the rescan ten minutes away, the notices alone bring each change
    // into the latest answer, without a look being asked for: a new dialog,
    // a changed label (the old one gone), a changed window title, a dialog
    // closed (it leaves what is kept).
    void noticesBringChangesWithoutAsking()
    {
        LinuxScreenText watcher;
        watcher.setRescanInterval(600000);
        QProcess *progress = m_desktop->dialog(QStringLiteral("Pipeline"), QStringLiteral("Phase one"), {},
                                               QStringLiteral("--progress"));
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
        QCOMPARE(QProcess::execute(QStringLiteral("xprop"), {"-name", "Pipeline", "-f", "_NET_WM_NAME", "8u", "-set",
                                                             "_NET_WM_NAME", "Pipeline Dingo"}),
                 0);
        QVERIFY2(AnswerTurns(watcher, QStringLiteral("Dingo"), true), "changed title");

        A11yDesktop::close(progress);
    }

    // A dialog without a title goes by the texts inside it; in a deeper
    // dialog every field of a form is read, to the last one.
    void untitledDialogAndDeepForm()
    {
        QProcess *untitled = m_desktop->dialog(QString(), QStringLiteral("Nameless notice"));
        QStringList entries;
        for (int i = 1; i <= 30; ++i)
            entries << QStringLiteral("--add-entry=Question-%1").arg(i);
        QProcess *form = m_desktop->dialog(QStringLiteral("Survey"), QStringLiteral("Questions"), entries,
                                           QStringLiteral("--forms"));
        LinuxScreenText watcher;
        const PhraseMatch m = LookUntil(watcher, QStringLiteral("nameless"), true);
        QVERIFY2(m.windowTitle.contains(QStringLiteral("Nameless notice")), qPrintable(m.windowTitle));
        const PhraseMatch last = LookUntil(watcher, QStringLiteral("question-30"), true);
        QCOMPARE(last.matchedText, QStringLiteral("　【question-30】　"));
        A11yDesktop::close(untitled);
        A11yDesktop::close(form);
    }

    // A list of 4,200 rows has more on show than one look reads: the rows in
    // view and the text above them are still found, and a phrase not found
    // is not "not shown" but unknown.
    void longList()
    {
        QStringList rows{QStringLiteral("--column"), QStringLiteral("Entry")};
        for (int i = 1; i <= 4200; ++i)
            rows << QStringLiteral("row-%1").arg(i, 4, 10, QLatin1Char('0'));
        QProcess *list = m_desktop->dialog(QStringLiteral("Long list"), QStringLiteral("Nightly report"), rows,
                                           QStringLiteral("--list"));
        LinuxScreenText watcher;
        QCOMPARE(LookUntil(watcher, QStringLiteral("row-0002"), true).windowTitle, QStringLiteral("Long list"));
        QVERIFY(Look(watcher, QStringLiteral("nightly"))->found);
        QCOMPARE(Look(watcher, QStringLiteral("row-4150")).value().shown(), std::optional<bool>());
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

        int ticksWhileScanning = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ticksWhileScanning += watcher.scanning() ? 1 : 0; });
        timer.start(20);
        QProcess *live = m_desktop->dialog(QStringLiteral("Lively"), QStringLiteral("fresh text"));
        QVERIFY(AnswerTurns(watcher, QStringLiteral("fresh"), true));
        // Every look reads everything again from now on, waiting for the hung dialog.
        watcher.setRescanInterval(0);
        // The hung dialog's title is the X server's, the live dialog's text its own.
        const std::optional<PhraseMatch> live1 = Look(watcher, QStringLiteral("fresh"));
        const std::optional<PhraseMatch> title = Look(watcher, QStringLiteral("Frozen"));
        const std::optional<PhraseMatch> stuck = Look(watcher, QStringLiteral("stuck"));
        timer.stop();
        QCOMPARE(live1.value().windowTitle, QStringLiteral("Lively"));
        QVERIFY(title && title->found);
        QVERIFY(stuck && !stuck->found);
        QVERIFY(ticksWhileScanning > 0);

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
        const std::optional<PhraseMatch> without = Look(watcher, QStringLiteral("Quarterly"));
        QVERIFY(without && !without->found);
        A11yDesktop::close(browser);
    }

    // Without display and session bus nothing is shown, silently: the start
    // check of a disappear run asks (and headless answers Cancel), an appear
    // run goes by its time alone.
    void nothingToReadShowsNothing()
    {
        for (const bool disappear : {true, false}) {
            QTemporaryDir home;
            QProcessEnvironment env = zktest::ZenkoroEnvironment(home.path(), m_desktop->environment());
            env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
            env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(qEnvironmentVariable("ZENKORO_BIN"), {"--dry-run", "-auto", "-shutdown", "-time", "0",
                                                          disappear ? "-disappear" : "-appear", "Zenkoro"});
            const zktest::Result r = zktest::Finish(p, 60000);
            QCOMPARE(r.exitCode, disappear ? 1 : 0);
            QCOMPARE(r.out.contains(QStringLiteral("dry-run: ExitSession")), !disappear);
            QCOMPARE(r.err.contains(QStringLiteral("該当文言は既に表示されていません！")), disappear);
        }
    }

    // The binary: -appear fires once the dialog shows (after the warning
    // phase), and not while it does not; its own window shows the phrase and
    // never counts.
    void binaryFiresAfterTheDialogAppears()
    {
        QTemporaryDir home;
        QProcess zenkoro;
        QProcessEnvironment env = zktest::ZenkoroEnvironment(home.path(), m_desktop->environment());
        env.insert(QStringLiteral("DISPLAY"), m_desktop->display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        zenkoro.setProcessEnvironment(env);
        // The phrase is also in our own window's title and its phrase box.
        zenkoro.start(qEnvironmentVariable("ZENKORO_BIN"), {"--dry-run", "-auto", "-shutdown", "-appear", "zenkoro"});
        QByteArray out;
        const auto readFor = [&](int ms) {
            (void)QTest::qWaitFor(
                [&] { return (out += zenkoro.readAllStandardOutput()).contains("dry-run: ExitSession"); }, ms);
        };
        readFor(25000);  // longer than the warning phase
        QVERIFY2(!out.contains("dry-run: ExitSession"), out.constData());
        QCOMPARE(zenkoro.state(), QProcess::Running);

        QProcess *dialog = m_desktop->dialog(QStringLiteral("Renderer"), QStringLiteral("Zenkoro test frames rendered"));
        readFor(60000);
        QVERIFY2(out.contains("dry-run: ExitSession"), out.constData());
        zenkoro.waitForFinished(10000);
        A11yDesktop::close(dialog);
    }
};

QTEST_GUILESS_MAIN(TestScreenText)
#include "tst_screen_text.moc"
