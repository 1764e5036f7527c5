// Window texts of the other applications through the accessibility bus
// (AT-SPI over D-Bus): the applications' top-level frames with their names,
// and the names and texts of a frame's visible descendants. Calls to one
// application are sent together and share a budget of 2 s per look: an
// application that does not answer in that time is left out for the rest of
// the look. Used from one thread at a time (the screen watcher's own).
#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace zk {

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

    // Per-application budget in milliseconds (2000 by default).
    void setBudget(int ms) { m_budgetMs = ms; }

    // Starts a new look: the budgets are renewed. False when there is no accessibility bus.
    bool beginLook();
    // The top-level frames of every application but the one of ourPid.
    QList<AtspiFrame> frames(qint64 ourPid);
    // The visible descendants of frame, in order (depth first), handed to
    // visit until it answers true. Web documents are skipped unless
    // includeBrowser; then each one is one text with its entries' values.
    void visitDescendants(const AtspiRef &frame, bool includeBrowser, const std::function<bool(const AtspiText &)> &visit);

private:
    struct Node;
    bool connectBus();
    int remainingMs(const QString &bus);
    void noteFailure(const QString &bus, const QDBusMessage &reply);
    QList<QDBusMessage> callAll(const QList<QDBusMessage> &calls);

    QString m_givenAddress;
    QString m_connectionName;
    QDBusConnection m_bus;
    bool m_connected = false;
    int m_budgetMs = 2000;
    QElapsedTimer m_lookClock;
    QHash<QString, qint64> m_firstCall;  // application -> ms into the look of its first call
    QHash<QString, bool> m_silent;       // applications that did not answer in this look
};

}  // namespace zk
