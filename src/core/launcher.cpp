#include "core/launcher.h"

#include <QCoreApplication>

#include "core/crlf.h"
#include "core/desktop_entry.h"
#include "core/job.h"
#include "core/text.h"

#include <QRegularExpression>

namespace zk {

namespace {

constexpr QChar kSep = QLatin1Char('/');

QString withSeparator(const QString &folder)
{
    return folder.endsWith(kSep) ? folder : folder + kSep;
}

bool hasDotSegment(const QString &path)
{
    const QStringList parts = path.split(kSep);
    return parts.contains(QStringLiteral(".")) || parts.contains(QStringLiteral(".."));
}

const QString kShortcutExtension = QStringLiteral(".desktop");

// Debian's alternative for the user's terminal; every one takes "-e program args".
const QString kTerminalProgram = QStringLiteral("x-terminal-emulator");

}  // namespace

QString Unquote(const QString &text, QuoteStrip strip)
{
    if (strip == QuoteStrip::Leading) {
        const QString t = text.trimmed();
        if (!t.startsWith(QLatin1Char('"')))
            return t;
        return t.size() >= 2 ? t.mid(1, t.size() - 2) : QString();
    }
    QString t = text;
    while (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2);
    return t;
}

QString PathExtension(const QString &path)
{
    const QString p = Unquote(path);
    const int dot = p.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    // A dot in a folder name is no extension of the file.
    const int sep = std::max(p.lastIndexOf(QLatin1Char('/')), p.lastIndexOf(QLatin1Char('\\')));
    return dot > sep ? p.mid(dot) : QString();
}

QStringList SplitArguments(const QString &text, ArgumentQuoting quoting)
{
    const bool exec = quoting == ArgumentQuoting::DesktopExec;
    QStringList args;
    QString cur;
    bool inArg = false;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (exec && quoted && c == QLatin1Char('\\') && i + 1 < text.size() &&
            QStringLiteral("\"`$\\").contains(text[i + 1])) {
            cur += text[++i];
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inArg = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t') || (exec && c == QLatin1Char('\n')))) {
            if (inArg)
                args << cur;
            cur.clear();
            inArg = false;
        } else {
            cur += c;
            inArg = true;
        }
    }
    if (inArg)
        args << cur;
    return args;
}

QString NormalizePath(const QString &path)
{
    const bool rooted = path.startsWith(kSep);
    const QString rest = rooted ? path.mid(1) : path;
    const bool trailing = rest.endsWith(kSep);
    QStringList out;
    for (const QString &part : rest.split(kSep, Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!out.isEmpty() && out.last() != QLatin1String(".."))
                out.removeLast();
            else if (!rooted)
                out << part;
            continue;
        }
        out << part;
    }
    QString result = (rooted ? QString(kSep) : QString()) + out.join(kSep);
    if (trailing && !out.isEmpty())
        result += kSep;
    if (result.isEmpty())
        result = QStringLiteral(".");
    return result;
}

LaunchErrorNotice LaunchErrorMessage(const QString &program, const QString &parameters)
{
    //: Title of the message that a program could not be started; %1 is the version.
    return {QCoreApplication::translate("Launcher", "Zenkoroシャットダウン %1").arg(VersionText()),
            QCoreApplication::translate("Launcher", "アプリ起動エラー") + kCrLf + QStringLiteral("ap       = ") + program +
                kCrLf +
                //: Label before the parameters of the program that could not be started.
                QCoreApplication::translate("Launcher", "パラメータ= ") + parameters};
}

quint64 FindProcessWindow(const QList<TopLevelWindow> &windows, qint64 pid, QString &list)
{
    static const QString kHiddenOwner = QStringLiteral("ThunderRT6Main");
    QList<TopLevelWindow> held;
    for (const TopLevelWindow &w : windows) {
        if (w.pid != pid || !w.visible || w.className.compare(QLatin1String("msime98toolbar"), Qt::CaseInsensitive) == 0)
            continue;
        if (held.size() == 1) {
            // The hidden owner window of such programs gives way to the next
            // real candidate, and no further owner window joins a lone one.
            if (w.className == kHiddenOwner)
                continue;
            if (held.first().className == kHiddenOwner) {
                held[0] = w;
                continue;
            }
        }
        held << w;
    }
    list.clear();
    for (const TopLevelWindow &w : held)
        list += QString::number(w.handle) + QLatin1Char('\t') + w.className + QLatin1Char('\t') + w.title + kCrLf;
    if (held.isEmpty()) {
        list = QCoreApplication::translate("Launcher", kWindowNotFoundSource);
        return 0;
    }
    return held.size() == 1 ? held.first().handle : 0;
}

Launcher::Launcher(LauncherBackend &backend, const Clock &clock, QString programFolder, QObject *parent)
    : QObject(parent), m_backend(backend), m_clock(clock), m_programFolder(std::move(programFolder))
{
    m_waitTimer.setSingleShot(false);
    connect(&m_waitTimer, &QTimer::timeout, this, &Launcher::checkPending);
}

QString Launcher::expandVariables(const QString &text) const
{
    // %NAME%, $NAME and ${NAME}; each pair of percent signs names one
    // variable. An unknown name gives the empty text.
    static const QRegularExpression percent(QStringLiteral("%([^%]+)%"));
    static const QRegularExpression dollar(QStringLiteral("\\$\\{([A-Za-z_][A-Za-z0-9_]*)\\}|\\$([A-Za-z_][A-Za-z0-9_]*)"));
    auto expandWith = [this](const QString &in, const QRegularExpression &rx) {
        QString result;
        int last = 0;
        auto it = rx.globalMatch(in);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            result += in.mid(last, m.capturedStart() - last);
            QString name = m.captured(1);
            if (name.isEmpty())
                name = m.captured(2);
            result += m_backend.environment(name).value_or(QString());
            last = m.capturedEnd();
        }
        result += in.mid(last);
        return result;
    };
    return expandWith(expandWith(text, percent), dollar);
}

QString Launcher::resolvePath(const QString &path, const QString &base) const
{
    const QString b = base.isEmpty() ? m_programFolder : base;
    if (path.isEmpty())
        return b;
    QString p = expandVariables(Unquote(path.trimmed()).trimmed());
    if (p == QLatin1String("~") || p.startsWith(QStringLiteral("~/")))
        p = m_backend.homeDir() + p.mid(1);

    QString result;
    if (p.startsWith(kSep))
        result = p;
    else
        result = withSeparator(b) + (p.startsWith(QStringLiteral("./")) ? p.mid(2) : p);
    if (hasDotSegment(result))
        result = NormalizePath(result);
    return result;
}

QString Launcher::makeRelativePath(const QString &path, const QString &base) const
{
    const QString p = Unquote(path, QuoteStrip::Leading);
    QString b = Unquote(base, QuoteStrip::Leading);
    if (b.isEmpty())
        b = m_programFolder;
    if (p.isEmpty() || b.isEmpty())
        return p;
    if (!p.startsWith(kSep) || !b.startsWith(kSep))
        return p;
    if (m_backend.isFolder(b))
        b = withSeparator(b);
    const QStringList pathParts = p.split(kSep);
    const QStringList baseParts = b.split(kSep);
    int i = 0;
    while (i < pathParts.size() && i < baseParts.size() && pathParts[i] == baseParts[i])
        ++i;
    QStringList out;
    for (int k = i; k < baseParts.size() - 1; ++k)
        out << QStringLiteral("..");
    for (int k = i; k < pathParts.size(); ++k)
        out << pathParts[k];
    return out.join(kSep);
}

QStringList Launcher::associatedTokens(const QString &path, QString *text) const
{
    QStringList tokens;
    QString command;
    const bool url = PathExtension(path).compare(QLatin1String(".url"), Qt::CaseInsensitive) == 0;
    if (url) {
        tokens = {QStringLiteral("xdg-open")};
    } else if (!m_backend.isExecutableFile(path)) {
        // A program the user may run is started itself, whatever its type.
        for (const QString &t : SplitArguments(m_backend.associatedCommand(path), ArgumentQuoting::DesktopExec)) {
            if (!t.contains(QLatin1Char('%')))
                tokens << t;
        }
    }
    QStringList shown;
    for (const QString &t : tokens)
        shown << QuoteIfSpaced(t);
    command = shown.join(QLatin1Char(' '));
    if (text)
        *text = command;
    return tokens;
}

QString Launcher::associatedCommand(const QString &path) const
{
    QString text;
    associatedTokens(path, &text);
    return text;
}

qint64 Launcher::launchApplication(QString &program, QString &parameters)
{
    program = Unquote(program);
    // Without a program the base folder itself would be opened.
    if (program.trimmed().isEmpty())
        return 0;
    if (PathExtension(program).compare(kShortcutExtension, Qt::CaseInsensitive) == 0)
        return runShortcut(program);

    QString full = resolvePath(program, m_programFolder);
    if (!m_backend.fileExists(full)) {
        // A bare program name that is not beside the program is looked up on
        // the search path, as a terminal would.
        const QString name = expandVariables(program.trimmed());
        if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.startsWith(QLatin1Char('~'))) {
            const QString found = m_backend.findExecutable(name);
            if (!found.isEmpty())
                full = found;
        }
    }

    if (m_backend.isFolder(full))
        return openFolder(full);

    const QStringList handler = associatedTokens(full, nullptr);
    QString command;
    QStringList arguments;
    if (!handler.isEmpty()) {
        // A document: its path replaces any parameters given with it.
        parameters = QuoteIfSpaced(full);
        command = handler.first();
        arguments = handler.mid(1);
        arguments << full;
    } else {
        if (m_backend.fileExists(full) && !m_backend.isExecutableFile(full)) {
            // A document no application claims: the desktop decides.
            return m_backend.openWithShell(full) ? 1 : 0;
        }
        command = full;
        arguments = SplitArguments(parameters);
    }
    const qint64 pid = m_backend.startProcess(command, arguments, m_programFolder);
    if (pid <= 0)
        return 0;
    watch(pid);
    return pid;
}

qint64 Launcher::launchCommand(const QString &commandText, QString *program, QString *parameters)
{
    QString text = commandText;
    text.replace(kCrLf, QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    QString prog = Unquote(CommandPart(text));
    QString params = ParameterPart(text);
    const qint64 result = launchApplication(prog, params);
    if (program)
        *program = prog;
    if (parameters)
        *parameters = params;
    return result;
}

qint64 Launcher::openFolder(const QString &full)
{
    return m_backend.openWithShell(full) ? 1 : 0;
}

qint64 Launcher::runShortcut(const QString &path)
{
    const QString file = resolvePath(path, m_programFolder);
    const std::optional<QString> text = m_backend.readTextFile(file);
    if (!text)
        return 0;
    const DesktopEntry entry = ParseDesktopEntry(*text);
    if (!entry.valid)
        return 0;
    if (entry.type == QLatin1String("Link"))
        return !entry.url.isEmpty() && m_backend.openWithShell(entry.url) ? 1 : 0;
    QStringList tokens = ExecArguments(entry.exec);
    if (tokens.isEmpty())
        return 0;
    if (entry.terminal)
        tokens = QStringList{kTerminalProgram, QStringLiteral("-e")} + tokens;
    const QString workDir = entry.path.isEmpty() ? m_programFolder : entry.path;
    return m_backend.startProcess(tokens.first(), tokens.mid(1), workDir) > 0 ? 1 : 0;
}

bool Launcher::openWithShell(const QString &target)
{
    return m_backend.openWithShell(target);
}

quint64 Launcher::findProcessWindow(qint64 pid, QString &list)
{
    return FindProcessWindow(m_backend.topLevelWindows(), pid, list);
}

bool Launcher::placeWindow(quint64 handle, int left, int top, int right, int bottom)
{
    return m_backend.placeWindow(handle, left, top, right, bottom);
}

void Launcher::watch(qint64 pid)
{
    const ProcessWatch watch = m_backend.watchProcess(pid, this, [this, pid] { onProcessEnded(pid); });
    m_pending.append({pid, m_clock.now().addMSecs(kRunWaitMs), watch != ProcessWatch::Unsupported,
                      watch == ProcessWatch::Ended});
    if (!m_waitTimer.isActive())
        m_waitTimer.start(0);
}

void Launcher::onProcessEnded(qint64 pid)
{
    for (Pending &p : m_pending) {
        if (p.pid == pid && p.watched) {
            p.ended = true;  // reported once it has settled
            return;
        }
    }
    Q_EMIT processEnded(pid);
}

void Launcher::checkPending()
{
    const QDateTime now = m_clock.now();
    for (int i = 0; i < m_pending.size();) {
        const Pending p = m_pending[i];
        // (An end the backend has noticed but not yet reported shows here too.)
        const bool running = !p.ended && m_backend.isProcessAlive(p.pid);
        // A watched process that has ended stays ended: only a process the
        // backend cannot watch is asked again until the limit.
        if (!running && !p.watched && now < p.deadline) {
            ++i;
            continue;
        }
        m_pending.removeAt(i);
        if (running)
            m_backend.activateProcessWindow(p.pid);
        Q_EMIT processSettled(p.pid, running);
        if (p.ended)
            Q_EMIT processEnded(p.pid);
    }
    if (m_pending.isEmpty())
        m_waitTimer.stop();
    else
        m_waitTimer.setInterval(50);
}

}  // namespace zk
