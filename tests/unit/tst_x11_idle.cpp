// The idle time read from a real X server (Xvfb).
#include "platform/linux/x11_idle.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace zk;

class TestX11Idle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void noDisplayIsUnknown()
    {
        const QByteArray saved = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        X11UserIdle idle;
        QCOMPARE(idle.idleMilliseconds(), qint64(-1));
        if (!saved.isEmpty())
            qputenv("DISPLAY", saved);
    }

    void idleTimeGrowsOnAQuietServer()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            QSKIP("Xvfb is not installed");
        QProcess server;
        server.setProcessChannelMode(QProcess::SeparateChannels);
        // -displayfd 1: the server writes its display number on standard output when ready.
        // -noreset: the reader connects for each reading; without it the server
        // resets (and its idle counter with it) whenever the last client leaves.
        server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                            QStringLiteral("320x240x24")});
        QVERIFY(server.waitForStarted());
        QByteArray number;
        QTRY_VERIFY_WITH_TIMEOUT((number += server.readAllStandardOutput()).contains('\n'), 20000);
        const QByteArray saved = qgetenv("DISPLAY");
        qputenv("DISPLAY", ":" + number.trimmed());

        X11UserIdle idle;
        const qint64 first = idle.idleMilliseconds();
        QVERIFY2(first >= 0, "the server has an IDLETIME counter");
        // Nobody types on a virtual server: the counter only grows.
        QTest::qWait(300);
        const qint64 second = idle.idleMilliseconds();
        QVERIFY(second >= first);

        qputenv("DISPLAY", saved);
        server.terminate();
        server.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(TestX11Idle)
#include "tst_x11_idle.moc"
