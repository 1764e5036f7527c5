// Window texts of the other applications through the accessibility bus
// (AT-SPI over D-Bus): the applications' top-level frames with their names,
// and the names and texts of a frame's visible descendants. The calls of one
// step go out together and each waits at most 2 s; an application that
// answers none of them is left out until it sends a change notice or the
// next rescan is due, so it costs the looks no more than that. One that
// answers only some in time (a long list) is slow, not hung: what it
// answered counts, and the window is read cut short.
// The frames and each window's texts are kept between looks: the
// applications' change notices (window made, closed or activated, a name, a
// text, the children or the showing state changed) drop just the window
// they name, or the frame list, and report it through onChange. Without
// notices a kept window is read again after the rescan interval (each
// window a little later than the last, so they do not all come due at once).
// Used from one thread (the screen watcher's own), which runs an event loop
// between looks for the change notices.
#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
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
    // How long a window's texts are kept without a change notice (30 s by default).
    void setRescanInterval(qint64 ms) { m_rescanMs = ms; }
    // Called (in the reader's thread) when a change notice drops something kept.
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }
    // The windows whose texts are kept now.
    int keptWindows() const { return int(m_cache.size()); }

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

    // A change notice from the application on bus about the object at path.
    void noteEvent(const QString &bus, const QString &path, bool frameList);

private:
    struct Node;
    struct CachedWindow {
        QList<AtspiText> texts;
        bool complete = true;
        QElapsedTimer age;
        qint64 lifeMs = 0;
        QSet<QString> paths;  // the objects read, which its notices name
    };
    QList<AtspiText> readDescendants(const AtspiRef &frame, bool includeBrowser, bool *complete, QSet<QString> *paths);
    void dropWhere(const std::function<bool(const QString &key, const CachedWindow &)> &gone);
    void subscribe();
    bool connectBus();
    void noteFailure(const QString &bus, const QDBusMessage &reply);
    QList<QDBusMessage> callAll(const QList<QDBusMessage> &calls);

    QString m_givenAddress;
    QString m_connectionName;
    QDBusConnection m_bus;
    bool m_connected = false;
    int m_budgetMs = 2000;
    qint64 m_rescanMs = 30000;
    // The rescans read about one kept window per this many milliseconds at most:
    // with many windows (and applications, for the list of frames) the interval
    // stretches, so that the safety net costs the same however many are open.
    static constexpr qint64 kRescanPaceMs = 1000;
    qint64 rescanInterval(qsizetype kept) const;
    quint64 m_reads = 0;
    bool m_cutShort = false;  // calls of the current read went unanswered by an application that answered others
    std::function<void()> m_onChange;
    // Applications that did not answer, since when: left out until they send
    // a notice or the rescan is due.
    QHash<QString, QElapsedTimer> m_silent;
    QList<AtspiFrame> m_frames;
    bool m_framesKept = false;
    QElapsedTimer m_framesAge;
    // A window's texts as last read, kept while its application reports no
    // change (only when the change notices could be subscribed to).
    std::unique_ptr<AtspiEventSink> m_sink;
    bool m_signalsConnected = false;
    bool m_eventsOn = false;
    QHash<QString, CachedWindow> m_cache;
};

}  // namespace zk
