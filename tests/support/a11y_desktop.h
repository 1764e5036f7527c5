// A private X server (StartXvfb), and a private desktop for the screen text
// tests: Xvfb, a session bus of its own (dbus-daemon) and the accessibility
// bus started by at-spi-bus-launcher, with helpers to open zenity dialogs on
// it. exportToProcess() points this process's DISPLAY and session bus at it.
#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include <signal.h>
#include <sys/prctl.h>

namespace zktest {

// The first line `p` writes (waiting up to 15 s), trimmed.
inline QByteArray ReadLine(QProcess &p)
{
    QDeadlineTimer deadline(15000);
    QByteArray out;
    while (!out.contains('\n') && !deadline.hasExpired()) {
        if (!p.waitForReadyRead(int(deadline.remainingTime())))
            break;
        out += p.readAllStandardOutput();
    }
    return out.left(out.indexOf('\n')).trimmed();
}

// Starts Xvfb in `p` with a screen of `size` (WxH) and returns its display
// (":N"), or "" when it did not start. It dies with this process.
inline QString StartXvfb(QProcess &p, const QString &size, const QStringList &more = {})
{
    p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    p.setStandardErrorFile(QProcess::nullDevice());
    const QStringList args{QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), size + QStringLiteral("x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")};
    p.start(QStringLiteral("Xvfb"), args + more);
    const QByteArray number = ReadLine(p);
    return number.isEmpty() ? QString() : QStringLiteral(":") + QString::fromLatin1(number);
}

class A11yDesktop {
public:
    ~A11yDesktop()
    {
        for (auto it = m_procs.rbegin(); it != m_procs.rend(); ++it)
            close(it->get());
    }

    QString error() const { return m_error; }
    QString display() const { return m_display; }

    bool start()
    {
        if (!m_dir.isValid())
            return fail(QStringLiteral("no temporary folder"));
        m_display = StartXvfb(*m_procs.emplace_back(std::make_unique<QProcess>()), QStringLiteral("1024x768"));
        if (m_display.isEmpty())
            return fail(QStringLiteral("Xvfb did not start"));
        QProcess *bus = spawn(QStringLiteral("dbus-daemon"),
                              {QStringLiteral("--session"), QStringLiteral("--print-address"), QStringLiteral("--nofork"),
                               QStringLiteral("--address=unix:dir=") + m_dir.path()},
                              QProcessEnvironment::systemEnvironment());
        m_busAddress = QString::fromUtf8(ReadLine(*bus));
        if (m_busAddress.isEmpty())
            return fail(QStringLiteral("dbus-daemon did not start"));
        spawn(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {QStringLiteral("--launch-immediately")}, environment());
        // The launcher answers on the session bus once its bus runs.
        QProcess probe;
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            probe.setProcessEnvironment(environment());
            probe.start(QStringLiteral("dbus-send"),
                        {QStringLiteral("--session"), QStringLiteral("--print-reply"), QStringLiteral("--dest=org.a11y.Bus"),
                         QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus.GetAddress")});
            probe.waitForFinished(5000);
            if (probe.exitCode() == 0 && probe.readAllStandardOutput().contains("unix:"))
                return true;
            QThread::msleep(100);
        }
        return fail(QStringLiteral("the accessibility bus did not start"));
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
        env.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("0"));
        env.insert(QStringLiteral("GTK_MODULES"), QStringLiteral("gail:atk-bridge"));
        env.insert(QStringLiteral("HOME"), m_dir.path());
        return env;
    }

    void exportToProcess() const
    {
        qputenv("DISPLAY", m_display.toUtf8());
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress.toUtf8());
        qunsetenv("AT_SPI_BUS_ADDRESS");
    }

    // A zenity dialog (by default zenity --info) with a title and a text; stopped with close().
    QProcess *dialog(const QString &title, const QString &text, const QStringList &more = {},
                     const QString &kind = QStringLiteral("--info"))
    {
        return spawn(QStringLiteral("zenity"),
                     QStringList{kind, QStringLiteral("--title"), title, QStringLiteral("--text"), text} + more,
                     environment());
    }

    // Ends a process, a stopped one too.
    static void close(QProcess *p)
    {
        if (p->state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(p->processId()), SIGCONT);
        p->terminate();
        if (!p->waitForFinished(3000))
            p->kill();
        p->waitForFinished(1000);
    }

    QProcess *spawn(const QString &program, const QStringList &args, const QProcessEnvironment &env)
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start(program, args);
        p->waitForStarted(5000);
        m_procs.push_back(std::move(p));
        return m_procs.back().get();
    }

private:
    bool fail(const QString &e)
    {
        m_error = e;
        return false;
    }

    QTemporaryDir m_dir;
    QString m_display;
    QString m_busAddress;
    QString m_error;
    std::vector<std::unique_ptr<QProcess>> m_procs;
};

}  // namespace zktest
