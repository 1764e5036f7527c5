// The screen capture on a real X server (a private Xvfb of an unusual size)
// and, in a Wayland session, through a stand-in desktop portal
// (python3-dbusmock) on a private session bus; the program run with -capture.
#include "platform/linux/portal_screen_capture.h"
#include "platform/linux/x11_screen_capture.h"
#include "support/file_size_limit.h"
#include "support/run_zenkoro.h"
#ifndef Q_MOC_RUN
#include "support/a11y_desktop.h"
#include "support/logind_mock.h"
#endif

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <X11/Xlib.h>

using namespace zk;

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// The stand-in portal's Screenshot: what it does is read from `control`
// at each call: "<response> <uri>" answers after the reply, "early <uri>"
// before it, "silent" never.
const char *const kPortalCode = R"(
import dbus
from gi.repository import GLib
path = '/org/freedesktop/portal/desktop/request/test/' + args[1]['handle_token']
if path not in objects:
    self.AddObject(path, 'org.freedesktop.portal.Request', {}, [])
what = open('%1').read().split()
def respond(code, uri, request=objects[path]):
    request.EmitSignal('org.freedesktop.portal.Request', 'Response', 'ua{sv}', [dbus.UInt32(code), {'uri': uri}])
    return False
if what[0] == 'early':
    respond(0, what[1])
elif what[0] != 'silent':
    GLib.idle_add(respond, int(what[0]), what[1])
ret = dbus.ObjectPath(path)
)";

}  // namespace

class TstCapture : public QObject {
    Q_OBJECT

    QProcess m_xvfb;
    QByteArray m_display;
    Display *m_x = nullptr;

    // zenkoro --dry-run -auto -shutdown -time 0 -capture in `env`, with `home`
    // as its home: one Cap*.jpg is in its desktop folder by the time the
    // dry-run exit line comes, no temporary file is left; headless, it says so.
    void runWithCapture(QProcessEnvironment env, const QString &home, bool headless)
    {
        const QDir desktop(home + QStringLiteral("/Desktop"));
        desktop.mkpath(QStringLiteral("."));
        env.remove(QStringLiteral("XDG_DESKTOP_DIR"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(home);
        std::optional<QStringList> atExitLine;
        connect(&p, &QProcess::readyReadStandardOutput, this, [&] {
            if (!atExitLine && p.peek(1 << 20).contains("dry-run: ExitSession"))
                atExitLine = desktop.entryList({"Cap*.jpg"}, QDir::Files);
        });
        p.start(qEnvironmentVariable("ZENKORO_BIN"), {"--dry-run", "-auto", "-shutdown", "-time", "0", "-capture"});
        const zktest::Result r = zktest::Finish(p, 60000);
        QVERIFY2(atExitLine && r.exitCode == 0, qPrintable(zktest::Describe(r)));
        QCOMPARE(atExitLine->size(), 1);
        QCOMPARE(desktop.entryList(QDir::Files), *atExitLine);
        QCOMPARE(r.err.contains(u"を作成しました。"), headless);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_display = zktest::StartXvfb(m_xvfb, QStringLiteral("%1x%2").arg(kWidth).arg(kHeight)).toLatin1();
        QVERIFY2(!m_display.isEmpty(), "Xvfb did not start");
        m_x = XOpenDisplay(m_display.constData());
        QVERIFY(m_x);
    }

    void cleanupTestCase()
    {
        if (m_x)
            XCloseDisplay(m_x);
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }

    // What is on the screen is in the file, at full size and in its colours.
    void backendWritesTheScreen()
    {
        // A pure red square (in the 24-bit true colour of the server) on the
        // black root, drawn by another client; there is no window manager.
        const Window w = XCreateSimpleWindow(m_x, DefaultRootWindow(m_x), 100, 200, 300, 150, 0, 0, 0xff0000);
        XMapWindow(m_x, w);
        XSync(m_x, False);

        QTemporaryDir dir;
        QString name = dir.filePath(QStringLiteral("Cap123456"));
        X11ScreenCapture capture(m_display);
        QVERIFY(capture.captureToJpeg(name));
        QCOMPARE(name, dir.filePath(QStringLiteral("Cap123456.jpg")));
        QImageReader reader(name);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(kWidth, kHeight));
        const QColor inside = image.pixelColor(250, 275);
        const QColor outside = image.pixelColor(50, 50);
        QVERIFY2(inside.red() > 240 && inside.green() < 15 && inside.blue() < 15, qPrintable(inside.name()));
        QVERIFY2(outside.red() < 15 && outside.green() < 15 && outside.blue() < 15, qPrintable(outside.name()));
        XDestroyWindow(m_x, w);
        XSync(m_x, False);

        // A disk that fills up during the write: false, and the earlier
        // capture of the same name stays whole.
        const auto bytes = [&] {
            QFile f(name);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray before = bytes();
        QString again = dir.filePath(QStringLiteral("Cap123456"));
        bool written = true;
        QVERIFY(zktest::WithFileSizeLimit(4096, [&] { written = capture.captureToJpeg(again); }));
        QVERIFY(!written);
        QCOMPARE(bytes(), before);

        // No server, or a folder that cannot take the file: false, nothing written.
        QString elsewhere = dir.filePath(QStringLiteral("missing/Cap000000"));
        QVERIFY(!capture.captureToJpeg(elsewhere));
        QString noServer = dir.filePath(QStringLiteral("Cap000001"));
        QVERIFY(!X11ScreenCapture(":999").captureToJpeg(noServer));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Cap123456.jpg")});
    }

    // The portal's PNG becomes the JPEG, and the PNG stays; every way of not
    // getting a picture writes nothing. Then the whole program, headless in a
    // Wayland session: the capture is there by the dry-run line.
    void waylandCaptureThroughThePortal()
    {
        zktest::LogindMock bus;  // only its private bus is used
        QVERIFY2(bus.startBus(), qPrintable(bus.error()));
        QTemporaryDir dir;
        const QString control = dir.filePath(QStringLiteral("control"));
        const QString png = dir.filePath(QStringLiteral("shot.png"));
        QImage shot(320, 200, QImage::Format_RGB32);
        shot.fill(Qt::red);
        QVERIFY(shot.save(png));
        const QString uri = QUrl::fromLocalFile(png).toString();
        PortalScreenCapture portal(bus.connection(), 1500);
        const auto answer = [&](const QString &what) {
            QFile f(control);
            return f.open(QIODevice::WriteOnly) && f.write(what.toUtf8()) >= 0;
        };
        auto capture = [&](const QString &what, const QString &name) {
            std::optional<bool> written;
            if (!answer(what))
                return written;
            portal.captureToJpeg(dir.filePath(name), nullptr, [&](bool ok) { written = ok; });
            (void)QTest::qWaitFor([&] { return written.has_value(); }, 10000);
            return written;
        };
        QCOMPARE(capture(QStringLiteral("0 ") + uri, QStringLiteral("CapNoPortal")), std::optional<bool>(false));

        std::unique_ptr<QProcess> mock = zktest::StartDBusMock(
            bus.environment(), {"--system", "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                                "org.freedesktop.portal.Screenshot"});
        QVERIFY(mock);
        QDBusConnection c = bus.connection();
        QVERIFY(QTest::qWaitFor(
            [&] { return c.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop")).value(); },
            20000));
        QDBusMessage add = QDBusMessage::createMethodCall(
            "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", "org.freedesktop.DBus.Mock", "AddMethod");
        add.setArguments({"org.freedesktop.portal.Screenshot", "Screenshot", "sa{sv}", "o",
                          QString::fromLatin1(kPortalCode).arg(control)});
        QCOMPARE(c.call(add, QDBus::Block, 10000).type(), QDBusMessage::ReplyMessage);

        for (const QString &what : {QStringLiteral("0 ") + uri, QStringLiteral("early ") + uri}) {
            QCOMPARE(capture(what, QStringLiteral("Cap101010")), std::optional<bool>(true));
            QImageReader reader(dir.filePath(QStringLiteral("Cap101010.jpg")));
            QCOMPARE(reader.format(), QByteArray("jpeg"));
            const QImage image = reader.read();
            QCOMPARE(image.size(), shot.size());
            QVERIFY2(image.pixelColor(10, 10).red() > 240, qPrintable(image.pixelColor(10, 10).name()));
            QVERIFY(QFile::exists(png));  // the portal's file is not ours to remove
        }
        // Cancelled, failed, a file that is not there, no answer at all.
        const QStringList failures{QStringLiteral("1 ") + uri, QStringLiteral("2 ") + uri,
                                   QStringLiteral("0 file:///nonexistent/shot.png"), QStringLiteral("silent")};
        for (const QString &what : failures) {
            QCOMPARE(capture(what, QStringLiteral("Cap000000")), std::optional<bool>(false));
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Cap000000.jpg"))));
        }

        QTemporaryDir home;
        QVERIFY(answer(QStringLiteral("0 ") + uri));
        QProcessEnvironment env = zktest::ZenkoroEnvironment(home.path());
        env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.busAddress());
        runWithCapture(env, home.path(), true);
        zktest::StopProcess(mock);
    }

    // The same with a display, through the X server.
    void runLeavesOneCaptureBeforeTheAction()
    {
        QTemporaryDir home;
        QProcessEnvironment env = zktest::ZenkoroEnvironment(home.path());
        env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_display));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // Under the sanitizers, clang 14's leak check at the exit of this
        // windowed run now and then crashes its own tracer ("Tracer caught
        // signal 11") on a loaded machine; the other runs of the binary keep it.
        const QString asan = QStringLiteral("ASAN_OPTIONS");
        if (env.contains(asan))
            env.insert(asan, env.value(asan) + QStringLiteral(":detect_leaks=0"));
        runWithCapture(env, home.path(), false);
    }
};

QTEST_GUILESS_MAIN(TstCapture)
#include "tst_capture.moc"
