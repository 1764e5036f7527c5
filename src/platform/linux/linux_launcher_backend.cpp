#include "platform/linux/linux_launcher_backend.h"

#include "core/desktop_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QSet>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace zk {

namespace {

QString envOr(const char *name, const QString &fallback)
{
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}

QStringList envList(const char *name, const QString &fallback)
{
    return envOr(name, fallback).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QString configHome() { return envOr("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config")); }
QString dataHome() { return envOr("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share")); }
QStringList configDirs() { return envList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")); }
QStringList dataDirs() { return envList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")); }

// The application folders in order of precedence.
QStringList applicationDirs()
{
    QStringList dirs{dataHome() + QStringLiteral("/applications")};
    for (const QString &d : dataDirs())
        dirs << d + QStringLiteral("/applications");
    return dirs;
}

// The mimeapps.list files in order of precedence, desktop-specific ones first
// in every folder.
QStringList mimeAppsFiles()
{
    QStringList desktops;
    for (const QString &d : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktops << d.toLower();
    QStringList folders{configHome()};
    folders << configDirs();
    folders << applicationDirs();
    QStringList files;
    for (const QString &f : folders) {
        for (const QString &d : desktops)
            files << f + QLatin1Char('/') + d + QStringLiteral("-mimeapps.list");
        files << f + QStringLiteral("/mimeapps.list");
    }
    return files;
}

std::optional<QString> readSmallText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Desktop entries, lists and help texts are small; refuse anything huge.
    const QByteArray data = f.read(4 * 1024 * 1024);
    return QString::fromUtf8(data);
}

bool installed(const QString &desktopId)
{
    const QString path = LinuxLauncherBackend::findDesktopFile(desktopId);
    if (path.isEmpty())
        return false;
    const auto text = readSmallText(path);
    if (!text)
        return false;
    const DesktopEntry e = ParseDesktopEntry(*text);
    return e.valid && !e.hidden && !e.exec.isEmpty();
}

// X11 errors (a window that vanished meanwhile) must not end the program.
int ignoreXError(Display *, XErrorEvent *) { return 0; }

class XConnection {
public:
    XConnection() : m_display(XOpenDisplay(nullptr))
    {
        if (m_display)
            m_oldHandler = XSetErrorHandler(ignoreXError);
    }
    ~XConnection()
    {
        if (m_display) {
            XSync(m_display, False);
            XSetErrorHandler(m_oldHandler);
            XCloseDisplay(m_display);
        }
    }
    XConnection(const XConnection &) = delete;
    XConnection &operator=(const XConnection &) = delete;
    Display *display() const { return m_display; }
    Atom atom(const char *name) const { return XInternAtom(m_display, name, False); }

    // A property of 32-bit items; empty when missing.
    QList<unsigned long> cardinals(Window w, const char *property, Atom type) const
    {
        QList<unsigned long> out;
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(m_display, w, atom(property), 0, 1 << 16, False, type, &actualType, &format, &count,
                               &after, &data) == Success &&
            data) {
            if (format == 32) {
                const auto *items = reinterpret_cast<const unsigned long *>(data);
                for (unsigned long i = 0; i < count; ++i)
                    out << items[i];
            }
            XFree(data);
        }
        return out;
    }

    QString utf8Property(Window w, const char *property) const
    {
        QString out;
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(m_display, w, atom(property), 0, 4096, False, atom("UTF8_STRING"), &actualType,
                               &format, &count, &after, &data) == Success &&
            data) {
            if (format == 8)
                out = QString::fromUtf8(reinterpret_cast<const char *>(data), int(count));
            XFree(data);
        }
        return out;
    }

private:
    Display *m_display;
    int (*m_oldHandler)(Display *, XErrorEvent *) = nullptr;
};

}  // namespace

qint64 LinuxLauncherBackend::startProcess(const QString &program, const QStringList &arguments,
                                          const QString &workingDir)
{
    if (program.isEmpty())
        return 0;
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments, workingDir, &pid))
        return 0;
    return pid;
}

bool LinuxLauncherBackend::isProcessAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        // The state letter follows the parenthesised command name.
        const int close = line.lastIndexOf(')');
        if (close < 0 || close + 2 >= line.size())
            return true;
        const char state = line.at(close + 2);
        return state != 'Z' && state != 'X';
    }
    if (QFileInfo::exists(QStringLiteral("/proc/self")))
        return false;  // /proc works, so the process is gone
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

namespace {

// Owns the pidfd it watches: closed with the notifier, also when the watch
// goes before the process does.
class PidfdNotifier final : public QSocketNotifier {
public:
    PidfdNotifier(int fd, QObject *parent) : QSocketNotifier(qintptr(fd), QSocketNotifier::Read, parent) {}
    ~PidfdNotifier() override
    {
        setEnabled(false);
        ::close(int(socket()));
    }
    PidfdNotifier(const PidfdNotifier &) = delete;
    PidfdNotifier &operator=(const PidfdNotifier &) = delete;
};

}  // namespace

ProcessWatch LinuxLauncherBackend::watchProcess(qint64 pid, QObject *context, std::function<void()> ended)
{
    if (pid <= 0)
        return ProcessWatch::Ended;
    const int fd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0u));
    if (fd < 0) {
        if (errno == ESRCH)
            return ProcessWatch::Ended;
        // ENOSYS: a kernel before 5.3. (Running out of descriptors ends up
        // here as well: the process is then asked about as before.)
        return ProcessWatch::Unsupported;
    }
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 0) > 0) {
        ::close(fd);
        return ProcessWatch::Ended;
    }
    auto *notifier = new PidfdNotifier(fd, context);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, ended = std::move(ended)] {
        notifier->setEnabled(false);
        notifier->deleteLater();
        ended();
    });
    return ProcessWatch::Running;
}

bool LinuxLauncherBackend::fileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool LinuxLauncherBackend::isFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool LinuxLauncherBackend::isExecutableFile(const QString &path)
{
    const QFileInfo fi(path);
    return fi.isFile() && fi.isExecutable();
}

QString LinuxLauncherBackend::findExecutable(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

std::optional<QString> LinuxLauncherBackend::readTextFile(const QString &path)
{
    return readSmallText(path);
}

QString LinuxLauncherBackend::findDesktopFile(const QString &desktopId)
{
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')))
        return QString();
    // "vendor-app.desktop" may also live as vendor/app.desktop.
    QStringList relatives{desktopId};
    for (int i = desktopId.indexOf(QLatin1Char('-')); i > 0; i = desktopId.indexOf(QLatin1Char('-'), i + 1)) {
        QString r = desktopId;
        r[i] = QLatin1Char('/');
        relatives << r;
    }
    for (const QString &dir : applicationDirs()) {
        for (const QString &r : relatives) {
            const QString candidate = dir + QLatin1Char('/') + r;
            if (QFileInfo(candidate).isFile())
                return candidate;
        }
    }
    return QString();
}

QString LinuxLauncherBackend::defaultApplicationFor(const QString &mimeType)
{
    const QStringList files = mimeAppsFiles();
    QList<KeyFileGroups> lists;
    for (const QString &f : files) {
        const auto text = readSmallText(f);
        lists << (text ? ParseKeyFile(*text) : KeyFileGroups());
    }
    for (const KeyFileGroups &g : lists) {
        for (const QString &id : SplitKeyList(g.value(QStringLiteral("Default Applications")).value(mimeType))) {
            if (installed(id))
                return id;
        }
    }
    // No usable default: the first associated application that was not removed.
    QSet<QString> removed;
    for (const KeyFileGroups &g : lists) {
        for (const QString &id : SplitKeyList(g.value(QStringLiteral("Added Associations")).value(mimeType))) {
            if (!removed.contains(id) && installed(id))
                return id;
        }
        for (const QString &id : SplitKeyList(g.value(QStringLiteral("Removed Associations")).value(mimeType)))
            removed.insert(id);
    }
    for (const QString &dir : applicationDirs()) {
        const auto text = readSmallText(dir + QStringLiteral("/mimeinfo.cache"));
        if (!text)
            continue;
        for (const QString &id : SplitKeyList(ParseKeyFile(*text).value(QStringLiteral("MIME Cache")).value(mimeType))) {
            if (!removed.contains(id) && installed(id))
                return id;
        }
    }
    return QString();
}

QString LinuxLauncherBackend::associatedCommand(const QString &path)
{
    const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(path);
    if (!type.isValid())
        return QString();
    QStringList types{type.name()};
    types << type.aliases();
    types << type.allAncestors();
    for (const QString &t : types) {
        const QString id = defaultApplicationFor(t);
        if (id.isEmpty())
            continue;
        const auto text = readSmallText(findDesktopFile(id));
        if (!text)
            continue;
        const DesktopEntry e = ParseDesktopEntry(*text);
        if (e.exec.isEmpty())
            continue;
        // A program that needs a terminal gets one.
        return e.terminal ? QStringLiteral("x-terminal-emulator -e ") + e.exec : e.exec;
    }
    return QString();
}

bool LinuxLauncherBackend::openWithShell(const QString &target)
{
    if (target.isEmpty())
        return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
}

std::optional<QString> LinuxLauncherBackend::environment(const QString &name)
{
    const QByteArray key = name.toLocal8Bit();
    if (key.isEmpty() || !qEnvironmentVariableIsSet(key.constData()))
        return std::nullopt;
    return qEnvironmentVariable(key.constData());
}

QString LinuxLauncherBackend::homeDir()
{
    return QDir::homePath();
}

QList<TopLevelWindow> LinuxLauncherBackend::topLevelWindows()
{
    QList<TopLevelWindow> windows;
    const XConnection x;
    Display *d = x.display();
    if (!d)
        return windows;
    const Window root = DefaultRootWindow(d);
    QList<unsigned long> clients = x.cardinals(root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    if (clients.isEmpty())
        clients = x.cardinals(root, "_NET_CLIENT_LIST", XA_WINDOW);
    // Topmost first, as a walk over the desktop's windows sees them.
    for (auto it = clients.crbegin(); it != clients.crend(); ++it) {
        const Window w = Window(*it);
        TopLevelWindow info;
        info.handle = quint64(w);
        const QList<unsigned long> pid = x.cardinals(w, "_NET_WM_PID", XA_CARDINAL);
        info.pid = pid.isEmpty() ? 0 : qint64(pid.first());
        XClassHint hint{nullptr, nullptr};
        if (XGetClassHint(d, w, &hint)) {
            info.className = QString::fromLocal8Bit(hint.res_class);
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        info.title = x.utf8Property(w, "_NET_WM_NAME");
        if (info.title.isEmpty()) {
            char *name = nullptr;
            if (XFetchName(d, w, &name) && name) {
                info.title = QString::fromLocal8Bit(name);
                XFree(name);
            }
        }
        XWindowAttributes attrs;
        info.visible = XGetWindowAttributes(d, w, &attrs) && attrs.map_state == IsViewable;
        windows << info;
    }
    return windows;
}

bool LinuxLauncherBackend::activateProcessWindow(qint64 pid)
{
    quint64 handle = 0;
    for (const TopLevelWindow &w : topLevelWindows()) {
        if (w.pid == pid && w.visible) {
            handle = w.handle;
            break;
        }
    }
    if (!handle)
        return false;
    const XConnection x;
    Display *d = x.display();
    if (!d)
        return false;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = Window(handle);
    ev.xclient.message_type = x.atom("_NET_ACTIVE_WINDOW");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;  // a normal application asks
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(d);
    return true;
}

bool LinuxLauncherBackend::placeWindow(quint64 handle, int left, int top, int right, int bottom)
{
    if (!handle || right <= left || bottom <= top)
        return false;
    const XConnection x;
    Display *d = x.display();
    if (!d)
        return false;
    XMoveResizeWindow(d, Window(handle), left, top, unsigned(right - left), unsigned(bottom - top));
    XFlush(d);
    return true;
}

}  // namespace zk
