// Window texts of the other applications through the accessibility bus
// (AT-SPI over D-Bus): the applications' top-level frames with their names,
// and the names and texts of a frame's visible descendants. The calls of one
// step go out together and each waits at most 2 s; an application that lets
// one of them go unanswered is left out for the rest of the look, so it costs
// the look no more than that. A window's texts are kept from one look to the
// next while its application sends no change notice (and for 5 s at most).
// Used from one thread (the screen watcher's own), which must run an event
// loop between looks for the change notices.
#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zk {

class AtspiEventSink;

struct AtspiRef {
    QString bus;
    QString path;
    bool operator==(const AtspiRef &o) const { return bus == o.bus && path == o.path; }
};

struct AtspiFrame {
    AtspiRef ref;
    qint64 pid = 0;
    QString name;
    bool visible = false;  // VISIBLE and SHOWING
};

// One visible descendant as the phrase search reads it.
struct AtspiText {
    QString text;  // line breaks as CR LF
    QStringList inputValues;
};

class AtspiReader {
public:
    // busAddress: the accessibility bus; empty means: ask the session bus
    // (org.a11y.Bus) for it, or AT_SPI_BUS_ADDRESS when set.
    explicit AtspiReader(QString busAddress = QString());
    ~AtspiReader();
    AtspiReader(const AtspiReader &) = delete;
    AtspiReader &operator=(const AtspiReader &) = delete;

    // The longest wait for one answer, in milliseconds (2000 by default).
    void setBudget(int ms) { m_budgetMs = ms; }

    // Starts a new look: every application gets its chance again. False when there is no accessibility bus.
    bool beginLook();
    // The top-level frames of every application but the one of ourPid.
    QList<AtspiFrame> frames(qint64 ourPid);
    // The descendants of frame on show, in order (depth first), handed to
    // visit until it answers true. Web documents are skipped unless
    // includeBrowser; then each one is one text with its entries' values.
    // False when the frame shows more objects than one look reads: what was
    // read is visited all the same, but a text not among it may be on show.
    bool visitDescendants(const AtspiRef &frame, bool includeBrowser, const std::function<bool(const AtspiText &)> &visit);

    // Forgets what was read from the application on bus (it changed something).
    void dropApplication(const QString &bus);

private:
    struct Node;
    struct CachedWindow {
        QList<AtspiText> texts;
        bool complete = true;
        QElapsedTimer age;
    };
    QList<AtspiText> readDescendants(const AtspiRef &frame, bool includeBrowser, bool *complete);
    void subscribe();
    bool connectBus();
    void noteFailure(const QString &bus, const QDBusMessage &reply);
    QList<QDBusMessage> callAll(const QList<QDBusMessage> &calls);

    QString m_givenAddress;
    QString m_connectionName;
    QDBusConnection m_bus;
    bool m_connected = false;
    int m_budgetMs = 2000;
    QHash<QString, bool> m_silent;       // applications that did not answer in this look
    // A window's texts as last read, kept while its application reports no
    // change (only when the change notices could be subscribed to).
    std::unique_ptr<AtspiEventSink> m_sink;
    bool m_signalsConnected = false;
    bool m_eventsOn = false;
    QHash<QString, CachedWindow> m_cache;
};

}  // namespace zk
