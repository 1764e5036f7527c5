// The program on a Wayland compositor of its own (weston's headless
// backend), with no X display: its window maps natively, a phrase run ends
// in the dry-run action, and each session limit is said once.
#include "core/session_limits.h"
#include "support/run_zenkoro.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zk;

class TstWaylandSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowAndCountdownUnderWeston()
    {
        const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
        if (weston.isEmpty())
            QSKIP("weston is not installed (Debian package weston): the Wayland session is not tested");
        QTemporaryDir runtime;  // 0700, as XDG_RUNTIME_DIR must be
        QProcessEnvironment wenv = QProcessEnvironment::systemEnvironment();
        wenv.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        wenv.remove(QStringLiteral("DISPLAY"));
        wenv.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QProcess compositor;
        compositor.setProcessEnvironment(wenv);
        compositor.setProcessChannelMode(QProcess::MergedChannels);
        compositor.start(weston, {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=zk-wayland"),
                                  QStringLiteral("--idle-time=0")});
        QVERIFY2(compositor.waitForStarted(10000), qPrintable(compositor.errorString()));
        const QString socket = runtime.filePath(QStringLiteral("zk-wayland"));
        QVERIFY2(QTest::qWaitFor([&] { return QFileInfo::exists(socket) || compositor.state() != QProcess::Running; },
                                 20000) &&
                     compositor.state() == QProcess::Running,
                 compositor.readAll().constData());

        QTemporaryDir home;
        QProcessEnvironment env = zktest::ZenkoroEnvironment(home.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("zk-wayland"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(home.path());
        p.start(qEnvironmentVariable("ZENKORO_BIN"),
                {"--dry-run", "-auto", "-reboot", "-time", "0", "-appear", "zenkoro-wayland-test"});
        QVERIFY(p.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, 60000);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        compositor.terminate();
        compositor.waitForFinished(5000);

        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, qPrintable(err.right(3000)));
        QVERIFY2(out.contains(u"dry-run: ExitSession flags=2"), qPrintable(out));
        // The main window is a Wayland top-level with the run's caption, configured by the compositor.
        QVERIFY2(err.contains(u".set_title(\"Zenkoro再起動"), qPrintable(err.left(3000)));
        QVERIFY(err.contains(u"xdg_toplevel@") && err.contains(u".ack_configure"));
        for (SessionLimit l : {SessionLimit::PhraseTitles, SessionLimit::NoForcedTop})
            QCOMPARE(err.count(QStringLiteral("Zenkoro: ") + SessionLimitText(l)), 1);
    }
};

QTEST_GUILESS_MAIN(TstWaylandSession)
#include "tst_wayland_session.moc"
