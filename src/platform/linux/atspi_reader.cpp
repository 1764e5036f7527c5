#include "platform/linux/atspi_reader.h"

#include "platform/linux/session_bus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>

namespace zk {

namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kText = QStringLiteral("org.a11y.atspi.Text");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kNullPath = QStringLiteral("/org/a11y/atspi/null");

// Roles and states of AT-SPI (atspi-constants.h).
enum Role : uint {
    RoleLabel = 29,
    RolePasswordText = 40,
    RoleSpinButton = 52,
    RoleTerminal = 60,
    RoleText = 61,
    RoleParagraph = 73,
    RoleEntry = 79,
    RoleDocumentFrame = 82,
    RoleDocumentText = 94,
    RoleDocumentWeb = 95,
};
constexpr uint kStateEditable = 7;
constexpr uint kStateShowing = 25;
constexpr uint kStateVisible = 30;

// No window is walked beyond this many objects (a list of thousands of
// rows would make every look slow).
constexpr int kMaxNodesPerWindow = 4000;
// The children of an object with more than this many (a list, a table) are
// read once everything else of the window is, and share what is left of the
// budget with the other such lists: rows never crowd out a text beside them.
constexpr qsizetype kManyChildren = 100;

// How many of each list's `counts` objects `budget` allows: a list within
// an equal share gets all of it, the others split the rest equally.
QList<qsizetype> FairShares(const QList<qsizetype> &counts, qsizetype budget)
{
    QList<qsizetype> share(counts.size(), 0);
    QList<qsizetype> open;
    for (qsizetype i = 0; i < counts.size(); ++i)
        open.append(i);
    while (!open.isEmpty() && budget > 0) {
        const qsizetype each = std::max<qsizetype>(1, budget / open.size());
        bool settled = false;
        for (qsizetype k = 0; k < open.size();) {
            if (counts[open[k]] <= each) {
                share[open[k]] = counts[open[k]];
                budget -= counts[open[k]];
                open.removeAt(k);
                settled = true;
            } else {
                ++k;
            }
        }
        if (!settled) {
            for (qsizetype i : open) {
                share[i] = std::min(each, budget);
                budget -= share[i];
            }
            break;
        }
    }
    return share;
}

bool HasState(const QList<uint> &states, uint state)
{
    return !states.isEmpty() && (states[0] & (1u << state)) != 0;
}

bool IsTextRole(uint role)
{
    return role == RoleText || role == RoleEntry || role == RoleParagraph || role == RoleTerminal ||
           role == RoleSpinButton || role == RoleDocumentText;
}

bool IsWebDocument(uint role)
{
    return role == RoleDocumentWeb || role == RoleDocumentFrame;
}

QList<AtspiRef> ParseRefs(const QDBusMessage &reply)
{
    QList<AtspiRef> refs;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return refs;
    const QVariant v = reply.arguments().at(0);
    if (!v.canConvert<QDBusArgument>())
        return refs;
    const QDBusArgument arg = v.value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        AtspiRef r;
        QDBusObjectPath p;
        arg.beginStructure();
        arg >> r.bus >> p;
        arg.endStructure();
        r.path = p.path();
        if (!r.bus.isEmpty() && r.path != kNullPath)
            refs.append(r);
    }
    arg.endArray();
    return refs;
}

QString ParseVariantString(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().at(0).value<QDBusVariant>().variant().toString();
}

QList<uint> ParseStates(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QList<uint>>(reply.arguments().at(0));
}

uint ParseUInt(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().at(0).toUInt();
}

QString ParseString(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().at(0).toString();
}

QDBusMessage Call(const AtspiRef &r, const QString &interface, const QString &method)
{
    return QDBusMessage::createMethodCall(r.bus, r.path, interface, method);
}

QDBusMessage NameCall(const AtspiRef &r)
{
    QDBusMessage m = Call(r, kProperties, QStringLiteral("Get"));
    m << kAccessible << QStringLiteral("Name");
    return m;
}

QDBusMessage TextCall(const AtspiRef &r)
{
    QDBusMessage m = Call(r, kText, QStringLiteral("GetText"));
    m << 0 << -1;
    return m;
}

// Texts of the accessibility interface use LF; the search works on CR LF.
// The object replacement characters stand for children, read on their own.
QString ProgramText(QString text)
{
    text.remove(QChar(0xFFFC));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

std::atomic<int> g_connectionNumber{0};

QString CacheKey(const AtspiRef &frame)
{
    return frame.bus + QLatin1Char('\n') + frame.path;
}

}  // namespace

// Receives the change notices of the applications (in the reader's thread).
class AtspiEventSink : public QObject {
    Q_OBJECT
public:
    explicit AtspiEventSink(AtspiReader *reader) : m_reader(reader) {}
public Q_SLOTS:
    void onWindowEvent(const QDBusMessage &message)
    {
        m_reader->noteEvent(message.service(), message.path(), true);
    }
    void onEvent(const QDBusMessage &message)
    {
        // Reading a window makes some toolkits report objects made and
        // dropped ("defunct", "widget"); only what changes a text or its
        // visibility counts.
        const QString detail = message.arguments().value(0).toString();
        if (message.member() == QLatin1String("PropertyChange") && detail != QLatin1String("accessible-name"))
            return;
        if (message.member() == QLatin1String("StateChanged") && detail != QLatin1String("visible") &&
            detail != QLatin1String("showing"))
            return;
        // A frame's name or showing state, or the children of an
        // application's root (its frames), change the frame list too.
        m_reader->noteEvent(message.service(), message.path(),
                            message.member() != QLatin1String("TextChanged"));
    }

private:
    AtspiReader *m_reader;
};

struct AtspiReader::Node {
    AtspiRef ref;
    QList<int> children;
    QString name;
    QString text;
    uint role = 0;
    bool visible = false;
    bool showing = false;
    bool editable = false;
    bool inDocument = false;  // inside a web document, which is read whole

    // Whether it is on show: what is not hides everything in it.
    bool onShow() const { return visible && (showing || inDocument); }
};

AtspiReader::AtspiReader(QString busAddress)
    : m_givenAddress(std::move(busAddress)),
      m_connectionName(QStringLiteral("zk-atspi-%1").arg(++g_connectionNumber)),
      m_bus(m_connectionName)
{
}

AtspiReader::~AtspiReader()
{
    if (m_connected)
        QDBusConnection::disconnectFromBus(m_connectionName);
}

bool AtspiReader::connectBus()
{
    if (m_connected && m_bus.isConnected())
        return true;
    if (m_connected) {
        QDBusConnection::disconnectFromBus(m_connectionName);
        m_connected = false;
    }
    QString address = m_givenAddress;
    if (address.isEmpty())
        address = qEnvironmentVariable("AT_SPI_BUS_ADDRESS");
    // Without a session bus to ask, there is no accessibility bus either (and
    // no bus is started on demand for the question).
    const bool sessionBus = !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") ||
                            (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") &&
                             QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus")));
    if (address.isEmpty() && sessionBus) {
        // The session bus names the accessibility bus; a session bus in our own
        // thread's name, since the application's may be busy elsewhere.
        const QString sessionName = m_connectionName + QStringLiteral("-session");
        // Opened without Qt's blocking registration, which would hold up every
        // connection of the process (logind's too) while the bus does not answer.
        if (const std::optional<QDBusConnection> session = OpenSessionBus(sessionName, m_budgetMs, nullptr)) {
            const QDBusMessage reply = session->call(
                QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                               QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")),
                QDBus::Block, m_budgetMs);
            address = ParseString(reply);
        }
        QDBusConnection::disconnectFromPeer(sessionName);
    }
    if (address.isEmpty())
        return false;
    m_bus = QDBusConnection::connectToBus(address, m_connectionName);
    m_connected = true;
    m_cache.clear();
    m_framesKept = false;
    m_eventsOn = false;
    m_sink.reset();
    m_signalsConnected = false;
    return m_bus.isConnected();
}

bool AtspiReader::beginLook()
{
    // Applications silent for a rescan interval get their chance again.
    for (auto it = m_silent.begin(); it != m_silent.end();) {
        if (it->elapsed() >= m_rescanMs) {
            it = m_silent.erase(it);
            m_framesKept = false;
        } else
            ++it;
    }
    if (!connectBus())
        return false;
    if (!m_eventsOn)
        subscribe();
    // The change notices received since the last look drop what they change.
    if (m_sink)
        QCoreApplication::sendPostedEvents(m_sink.get());
    return true;
}

namespace {

// Whether the application did not answer (in time, or at all: it is gone),
// as opposed to an answer or an error of its own.
bool Unanswered(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    const QString e = reply.errorName();
    return e == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
           e == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
           e == QLatin1String("org.freedesktop.DBus.Error.TimedOut") ||
           e == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           e == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
}

}  // namespace

void AtspiReader::noteFailure(const QString &bus, const QDBusMessage &reply)
{
    if (Unanswered(reply) && !m_silent.contains(bus))
        m_silent[bus].start();
}

QList<QDBusMessage> AtspiReader::callAll(const QList<QDBusMessage> &calls)
{
    QList<QDBusPendingCall> pending;
    QList<bool> sent;
    pending.reserve(calls.size());
    for (const QDBusMessage &m : calls) {
        if (m_silent.contains(m.service())) {
            sent.append(false);
            pending.append(QDBusPendingCall::fromError(QDBusError(QDBusError::NoReply, QString())));
            continue;
        }
        sent.append(true);
        pending.append(m_bus.asyncCall(m, m_budgetMs));
    }
    QList<QDBusMessage> replies;
    replies.reserve(calls.size());
    QSet<QString> answering;
    for (qsizetype i = 0; i < pending.size(); ++i) {
        if (!sent[i]) {
            replies.append(QDBusMessage::createError(QDBusError::NoReply, QString()));
            continue;
        }
        pending[i].waitForFinished();
        replies.append(pending[i].reply());
        if (!Unanswered(replies.last()))
            answering.insert(calls[i].service());
    }
    // An application that answered some of the calls in time is slow, not
    // hung (a list of thousands of rows asks it for more than it answers in
    // the budget): what it answered counts, and the rest makes the read cut short.
    for (qsizetype i = 0; i < replies.size(); ++i) {
        if (!sent[i])
            continue;
        if (answering.contains(calls[i].service())) {
            if (Unanswered(replies[i]))
                m_cutShort = true;
        } else {
            noteFailure(calls[i].service(), replies[i]);
        }
    }
    return replies;
}

qint64 AtspiReader::rescanInterval(qsizetype kept) const
{
    return m_rescanMs > 0 ? std::max(m_rescanMs, qint64(kept) * kRescanPaceMs) : 0;
}

QList<AtspiFrame> AtspiReader::frames(qint64 ourPid)
{
    QList<AtspiFrame> out;
    if (!m_connected)
        return out;
    if (m_eventsOn && m_framesKept && m_framesAge.elapsed() < rescanInterval(m_frames.size()))
        return m_frames;
    const AtspiRef desktop{QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/accessible/root")};
    QList<AtspiRef> apps = ParseRefs(callAll({Call(desktop, kAccessible, QStringLiteral("GetChildren"))}).value(0));

    // The process of each application, and its top-level frames.
    QList<QDBusMessage> calls;
    for (const AtspiRef &app : apps) {
        QDBusMessage pid = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                          QStringLiteral("/org/freedesktop/DBus"),
                                                          QStringLiteral("org.freedesktop.DBus"),
                                                          QStringLiteral("GetConnectionUnixProcessID"));
        pid << app.bus;
        calls << pid << Call(app, kAccessible, QStringLiteral("GetChildren"));
    }
    const QList<QDBusMessage> replies = callAll(calls);
    QList<AtspiFrame> found;
    for (qsizetype i = 0; i < apps.size(); ++i) {
        const qint64 pid = qint64(ParseUInt(replies[2 * i]));
        if (pid == ourPid && ourPid != 0)
            continue;
        for (const AtspiRef &f : ParseRefs(replies[2 * i + 1])) {
            AtspiFrame frame;
            frame.ref = f;
            frame.pid = pid;
            found.append(frame);
        }
    }
    calls.clear();
    for (const AtspiFrame &f : found)
        calls << NameCall(f.ref) << Call(f.ref, kAccessible, QStringLiteral("GetState"));
    const QList<QDBusMessage> props = callAll(calls);
    for (qsizetype i = 0; i < found.size(); ++i) {
        AtspiFrame f = found[i];
        f.name = ParseVariantString(props[2 * i]);
        const QList<uint> states = ParseStates(props[2 * i + 1]);
        f.visible = HasState(states, kStateVisible) && HasState(states, kStateShowing);
        out.append(f);
    }
    // Windows that are gone leave the cache.
    QSet<QString> present;
    for (const AtspiFrame &f : out)
        present.insert(CacheKey(f.ref));
    for (auto it = m_cache.begin(); it != m_cache.end();) {
        if (!present.contains(it.key().section(QLatin1Char('\n'), 0, 1)))
            it = m_cache.erase(it);
        else
            ++it;
    }
    m_frames = out;
    m_framesKept = true;
    m_framesAge.start();
    return out;
}

bool AtspiReader::visitDescendants(const AtspiRef &frame, bool includeBrowser,
                                   const std::function<bool(const AtspiText &)> &visit)
{
    if (!m_connected || m_silent.contains(frame.bus))
        return true;
    const QString key = CacheKey(frame) + (includeBrowser ? QStringLiteral("\nb") : QString());
    QList<AtspiText> texts;
    bool complete = true;
    const auto cached = m_cache.constFind(key);
    if (m_eventsOn && cached != m_cache.cend() && cached->age.elapsed() < cached->lifeMs) {
        texts = cached->texts;
        complete = cached->complete;
    } else {
        CachedWindow c;
        texts = readDescendants(frame, includeBrowser, &complete, &c.paths);
        if (m_eventsOn && !m_silent.contains(frame.bus)) {
            c.texts = texts;
            c.complete = complete;
            c.age.start();
            // Between one and one and a half intervals, a little longer for
            // each window read: a rescan comes due window by window. With many
            // windows the interval stretches so that the rescans read about one
            // window a second: their cost stays the same however many are open.
            const qint64 interval = rescanInterval(m_cache.size() + 1);
            c.lifeMs = interval + qint64(m_reads++ % 16) * interval / 32;
            m_cache.insert(key, c);
        }
    }
    for (const AtspiText &t : texts) {
        if (visit(t))
            break;
    }
    return complete;
}

QList<AtspiText> AtspiReader::readDescendants(const AtspiRef &frame, bool includeBrowser, bool *complete,
                                              QSet<QString> *paths)
{
    QList<AtspiText> out;
    *complete = true;
    m_cutShort = false;
    // Level by level: the children, name, states and role of every object of
    // one level go out together; the next level is the children of the ones
    // on show (an object that is hidden or off the screen hides everything
    // in it). Large lists of children wait until the rest has been read.
    QList<Node> nodes;
    Node root;
    root.ref = frame;
    root.visible = root.showing = true;
    nodes.append(root);
    struct ManyChildren {
        int parent;
        QList<AtspiRef> refs;
    };
    QList<ManyChildren> many;
    // Takes the first `count` of parent's children into the next level.
    auto adopt = [&](int parent, const QList<AtspiRef> &refs, qsizetype count, QList<int> &next) {
        const bool inDocument = nodes[parent].inDocument || (parent != 0 && IsWebDocument(nodes[parent].role));
        for (qsizetype c = 0; c < count; ++c) {
            const int index = int(nodes.size());
            Node child;
            child.ref = refs[c];
            child.inDocument = inDocument;
            nodes.append(child);
            nodes[parent].children.append(index);
            next.append(index);
        }
        if (count < refs.size())
            *complete = false;
    };
    QList<int> level{0};
    while (!level.isEmpty()) {
        QList<QDBusMessage> calls;
        for (int i : level) {
            const AtspiRef &r = nodes[i].ref;
            calls << Call(r, kAccessible, QStringLiteral("GetChildren")) << NameCall(r)
                  << Call(r, kAccessible, QStringLiteral("GetState")) << Call(r, kAccessible, QStringLiteral("GetRole"));
        }
        const QList<QDBusMessage> replies = callAll(calls);
        QList<int> next;
        for (qsizetype k = 0; k < level.size(); ++k) {
            Node &n = nodes[level[k]];
            if (level[k] != 0) {
                n.name = ParseVariantString(replies[4 * k + 1]);
                const QList<uint> states = ParseStates(replies[4 * k + 2]);
                n.visible = HasState(states, kStateVisible);
                n.editable = HasState(states, kStateEditable);
                n.showing = HasState(states, kStateShowing);
                n.role = ParseUInt(replies[4 * k + 3]);
            }
            if (!n.onShow() || (IsWebDocument(n.role) && !includeBrowser))
                continue;
            // (nodes grows below: n is not used after this point)
            const QList<AtspiRef> refs = ParseRefs(replies[4 * k]);
            if (refs.size() > kManyChildren)
                many.append(ManyChildren{level[k], refs});
            else
                adopt(level[k], refs, std::min<qsizetype>(refs.size(), std::max<qsizetype>(0, kMaxNodesPerWindow - nodes.size())), next);
        }
        if (next.isEmpty() && !many.isEmpty()) {
            QList<qsizetype> counts;
            for (const ManyChildren &m : many)
                counts.append(m.refs.size());
            const QList<qsizetype> shares = FairShares(counts, std::max<qsizetype>(0, kMaxNodesPerWindow - nodes.size()));
            for (qsizetype i = 0; i < many.size(); ++i)
                adopt(many[i].parent, many[i].refs, shares[i], next);
            many.clear();
        }
        level = next;
    }
    for (const Node &n : nodes)
        paths->insert(n.ref.path);

    // The texts of text fields, of objects without a name, and of everything
    // inside a web document.
    QList<int> wanted;
    for (qsizetype i = 1; i < nodes.size(); ++i) {
        const Node &n = nodes[i];
        if (!n.onShow() || n.role == RolePasswordText)
            continue;
        if (n.name.isEmpty() || IsTextRole(n.role) || n.inDocument || IsWebDocument(n.role))
            wanted.append(int(i));
    }
    QList<QDBusMessage> calls;
    for (int i : wanted)
        calls << TextCall(nodes[i].ref);
    const QList<QDBusMessage> texts = callAll(calls);
    for (qsizetype k = 0; k < wanted.size(); ++k)
        nodes[wanted[k]].text = ProgramText(ParseString(texts[k]));

    auto ownText = [&nodes](int i) {
        const Node &n = nodes[i];
        if (n.role == RolePasswordText)
            return QString();
        if (n.role == RoleLabel || !IsTextRole(n.role))
            return n.name.isEmpty() ? n.text : ProgramText(n.name);
        return n.text.isEmpty() ? ProgramText(n.name) : n.text;
    };
    // A web document is one text: its objects' texts line by line, with the
    // values of its input fields.
    std::function<void(int, AtspiText &)> collect = [&](int i, AtspiText &doc) {
        for (int c : nodes[i].children) {
            const Node &n = nodes[c];
            if (!n.visible)
                continue;
            const QString t = ownText(c);
            if ((n.role == RoleEntry || (n.role == RoleText && n.editable)) && !n.text.isEmpty())
                doc.inputValues.append(n.text);
            else if (!t.isEmpty())
                doc.text += (doc.text.isEmpty() ? QString() : QStringLiteral("\r\n")) + t;
            collect(c, doc);
        }
    };
    std::function<void(int)> walk = [&](int i) {
        for (int c : nodes[i].children) {
            const Node &n = nodes[c];
            if (!n.onShow())
                continue;
            if (IsWebDocument(n.role)) {
                // A page in a tab behind another is not on the screen.
                if (!includeBrowser || !n.showing)
                    continue;
                AtspiText doc;
                doc.text = n.text;  // its name is the page title
                collect(c, doc);
                out.append(doc);
                continue;
            }
            out.append(AtspiText{ownText(c), {}});
            walk(c);
        }
    };
    walk(0);
    if (m_cutShort)
        *complete = false;
    return out;
}

void AtspiReader::dropWhere(const std::function<bool(const QString &, const CachedWindow &)> &gone)
{
    for (auto it = m_cache.begin(); it != m_cache.end();) {
        if (gone(it.key(), *it))
            it = m_cache.erase(it);
        else
            ++it;
    }
}

void AtspiReader::noteEvent(const QString &bus, const QString &path, bool frameList)
{
    // An application that speaks is not hung.
    if (m_silent.remove(bus))
        m_framesKept = false;
    const QString prefix = bus + QLatin1Char('\n');
    const qsizetype before = m_cache.size();
    bool named = false;
    dropWhere([&](const QString &key, const CachedWindow &c) {
        const bool hit = key.startsWith(prefix) && c.paths.contains(path);
        named = named || hit;
        return hit;
    });
    // An object not read before (or a frame not read yet): every window of
    // its application is read again.
    if (!named)
        dropWhere([&](const QString &key, const CachedWindow &) { return key.startsWith(prefix); });
    bool framesChanged = false;
    if (frameList || !named) {
        for (const AtspiFrame &f : std::as_const(m_frames))
            framesChanged = framesChanged || (f.ref.bus == bus && f.ref.path == path);
        framesChanged = framesChanged || !named || path == QLatin1String("/org/a11y/atspi/accessible/root");
        if (framesChanged)
            m_framesKept = false;
    }
    if ((framesChanged || m_cache.size() != before) && m_onChange)
        m_onChange();
}

void AtspiReader::subscribe()
{
    // Applications tell about changes only while somebody listens for them.
    // Asked again at the next look when the registry did not answer (it may
    // still be starting).
    if (!m_sink) {
        m_sink = std::make_unique<AtspiEventSink>(this);
        m_signalsConnected = true;
        for (const char *signal : {"PropertyChange", "ChildrenChanged", "TextChanged", "StateChanged"})
            m_signalsConnected = m_bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                                               QLatin1String(signal), m_sink.get(), SLOT(onEvent(QDBusMessage))) &&
                                 m_signalsConnected;
        for (const char *signal : {"Create", "Destroy", "Activate"})
            m_signalsConnected = m_bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Window"),
                                               QLatin1String(signal), m_sink.get(), SLOT(onWindowEvent(QDBusMessage))) &&
                                 m_signalsConnected;
    }
    bool ok = m_signalsConnected;
    for (const char *event : {"window:create", "window:destroy", "window:activate",
                              "object:property-change:accessible-name", "object:children-changed", "object:text-changed",
                              "object:state-changed:visible", "object:state-changed:showing"}) {
        QDBusMessage m = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.atspi.Registry"),
                                                        QStringLiteral("/org/a11y/atspi/registry"),
                                                        QStringLiteral("org.a11y.atspi.Registry"),
                                                        QStringLiteral("RegisterEvent"));
        m << QLatin1String(event) << QStringList() << QString();
        ok = m_bus.call(m, QDBus::Block, m_budgetMs).type() == QDBusMessage::ReplyMessage && ok;
    }
    m_eventsOn = ok;
}

}  // namespace zk

#include "atspi_reader.moc"
