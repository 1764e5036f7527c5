// The reference of bench_phrase_watch: the simplest screen text watcher, one
// that re-reads every application's accessible tree once a second over the
// accessibility bus (one blocking call per child list and per name) and
// prints "found <phrase>" the first time one of the names holds the phrase.
// "ready" after its first full pass.
// Usage: phrase_poll_scanner PHRASE
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QThread>

#include <cstdio>

namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");

struct Ref {
    QString bus;
    QString path;
};

QList<Ref> Children(QDBusConnection &bus, const Ref &node)
{
    QDBusMessage m = QDBusMessage::createMethodCall(node.bus, node.path, kAccessible, QStringLiteral("GetChildren"));
    const QDBusMessage reply = bus.call(m, QDBus::Block, 2000);
    QList<Ref> out;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return out;
    const QDBusArgument arg = reply.arguments().first().value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        Ref r;
        QDBusObjectPath p;
        arg.beginStructure();
        arg >> r.bus >> p;
        arg.endStructure();
        r.path = p.path();
        out.push_back(r);
    }
    arg.endArray();
    return out;
}

QString Name(QDBusConnection &bus, const Ref &node)
{
    QDBusMessage m = QDBusMessage::createMethodCall(node.bus, node.path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
    m << kAccessible << QStringLiteral("Name");
    const QDBusMessage reply = bus.call(m, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant().toString();
}

// Depth first; true as soon as a name holds the phrase.
bool Holds(QDBusConnection &bus, const Ref &node, const QString &phrase, int depth)
{
    if (Name(bus, node).contains(phrase, Qt::CaseInsensitive))
        return true;
    if (depth > 40)
        return false;
    for (const Ref &c : Children(bus, node))
        if (Holds(bus, c, phrase, depth + 1))
            return true;
    return false;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: phrase_poll_scanner PHRASE\n");
        return 2;
    }
    const QString phrase = QString::fromLocal8Bit(argv[1]);
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                      QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    const QDBusReply<QString> address = QDBusConnection::sessionBus().call(ask);
    if (!address.isValid()) {
        std::fprintf(stderr, "phrase_poll_scanner: no accessibility bus\n");
        return 1;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
    const Ref root{QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/accessible/root")};
    bool ready = false;
    for (;;) {
        bool found = false;
        for (const Ref &application : Children(bus, root))
            if (Holds(bus, application, phrase, 0)) {
                found = true;
                break;
            }
        if (found) {
            std::printf("found %s\n", argv[1]);
            std::fflush(stdout);
            return 0;
        }
        if (!ready) {
            std::printf("ready\n");
            std::fflush(stdout);
            ready = true;
        }
        QThread::sleep(1);
    }
}
