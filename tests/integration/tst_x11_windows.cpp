// The EWMH side of the Linux launcher backend, and the idle time, against a
// real X server (Xvfb). There is no window manager: the test publishes the
// client list on the root window itself and receives the activation request
// as one would.
#include "core/launcher.h"
#include "platform/linux/linux_launcher_backend.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/x11_idle.h"

#include <QProcess>
#include <QTest>

#ifndef Q_MOC_RUN
#include "support/a11y_desktop.h"
#endif

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace zk;

namespace {

constexpr long kPid = 4321;

void setCardinals(Display *d, Window w, const char *property, Atom type, const QList<long> &values)
{
    XChangeProperty(d, w, XInternAtom(d, property, False), type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(values.constData()), int(values.size()));
}

Window makeWindow(Display *d, const char *cls, const QString &title, long pid, bool map)
{
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 200, 100, 0, 0, 0);
    QByteArray name("zk");
    QByteArray klass(cls);
    XClassHint hint{name.data(), klass.data()};
    XSetClassHint(d, w, &hint);
    const QByteArray utf8 = title.toUtf8();
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char *>(utf8.constData()), int(utf8.size()));
    setCardinals(d, w, "_NET_WM_PID", XA_CARDINAL, {pid});
    if (map)
        XMapWindow(d, w);
    return w;
}

}  // namespace

class TstX11Windows : public QObject {
    Q_OBJECT

    QProcess m_xvfb;
    QByteArray m_displayName;
    Display *m_display = nullptr;
    Window m_main = 0, m_hidden = 0, m_owner = 0, m_other = 0;

private Q_SLOTS:
    void initTestCase()
    {
        m_displayName = zktest::StartXvfb(m_xvfb, QStringLiteral("800x600")).toLatin1();
        QVERIFY2(!m_displayName.isEmpty(), "Xvfb did not start");
        qputenv("DISPLAY", m_displayName);
        m_display = XOpenDisplay(m_displayName.constData());
        QVERIFY(m_display);

        m_owner = makeWindow(m_display, "ThunderRT6Main", QStringLiteral("owner"), kPid, true);
        m_main = makeWindow(m_display, "ZkMain", QStringLiteral("メイン画面"), kPid, true);
        m_hidden = makeWindow(m_display, "ZkHidden", QStringLiteral("hidden"), kPid, false);
        m_other = makeWindow(m_display, "ZkOther", QStringLiteral("other"), 99, true);
        // Bottom to top, as a window manager keeps it.
        setCardinals(m_display, DefaultRootWindow(m_display), "_NET_CLIENT_LIST_STACKING", XA_WINDOW,
                     {long(m_other), long(m_hidden), long(m_main), long(m_owner)});
        XSync(m_display, False);
    }

    void cleanupTestCase()
    {
        if (m_display)
            XCloseDisplay(m_display);
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }

    void listsTheClientsTopFirst()
    {
        LinuxLauncherBackend backend;
        const QList<TopLevelWindow> windows = backend.topLevelWindows();
        QCOMPARE(windows.size(), 4);
        QCOMPARE(windows[0].handle, quint64(m_owner));
        QCOMPARE(windows[1], (TopLevelWindow{quint64(m_main), kPid, QStringLiteral("ZkMain"),
                                             QStringLiteral("メイン画面"), true}));
        QCOMPARE(windows[2].handle, quint64(m_hidden));
        QVERIFY(!windows[2].visible);
        QCOMPARE(windows[3].pid, qint64(99));
        // The launcher picks from them (its rules have their own test).
        SystemClock clock;
        Launcher launcher(backend, clock, QStringLiteral("/tmp"));
        QString list;
        QCOMPARE(launcher.findProcessWindow(kPid, list), quint64(m_main));
        QCOMPARE(list, QString::number(m_main) + QStringLiteral("\tZkMain\tメイン画面\r\n"));
    }

    void placesAWindow()
    {
        LinuxLauncherBackend backend;
        QVERIFY(backend.placeWindow(quint64(m_other), 0, 0, 400, 150));
        XSync(m_display, False);
        Window root;
        int x = -1, y = -1;
        unsigned w = 0, h = 0, border = 0, depth = 0;
        QVERIFY(XGetGeometry(m_display, m_other, &root, &x, &y, &w, &h, &border, &depth));
        QCOMPARE(QRect(x, y, int(w), int(h)), QRect(0, 0, 400, 150));
        QVERIFY(!backend.placeWindow(quint64(m_other), 10, 10, 5, 5));
        // A window that is gone is no crash.
        QVERIFY(backend.placeWindow(0x7ffffff0, 0, 0, 10, 10));
    }

    void asksTheWindowManagerToActivate()
    {
        // Play the window manager: requests to the root window come to us.
        const Window root = DefaultRootWindow(m_display);
        XSelectInput(m_display, root, SubstructureRedirectMask | SubstructureNotifyMask);
        XSync(m_display, False);
        LinuxLauncherBackend backend;
        QVERIFY(backend.activateProcessWindow(kPid));
        QVERIFY(!backend.activateProcessWindow(12345));
        const Atom active = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
        Window requested = 0;
        (void)QTest::qWaitFor([&] {
            XSync(m_display, False);
            XEvent ev;
            while (XCheckTypedEvent(m_display, ClientMessage, &ev) && ev.xclient.message_type == active)
                requested = ev.xclient.window;
            return requested != 0;
        });
        // The topmost visible window of the process is the one raised.
        QCOMPARE(requested, m_owner);
    }

    // The server never resets while this test's own connection stays open, so
    // its idle counter, read over a connection of each reading's own, only
    // grows: nobody types on it. Without a display the idle time is unknown.
    void idleTime()
    {
        X11UserIdle idle;
        const qint64 first = idle.idleMilliseconds();
        QVERIFY2(first >= 0, "the server has an IDLETIME counter");
        QTest::qWait(300);
        QVERIFY(idle.idleMilliseconds() >= first);
        qunsetenv("DISPLAY");
        QCOMPARE(idle.idleMilliseconds(), qint64(-1));
        qputenv("DISPLAY", m_displayName);
    }
};

QTEST_GUILESS_MAIN(TstX11Windows)
#include "tst_x11_windows.moc"
