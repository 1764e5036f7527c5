#include "platform/linux/linux_screen_text.h"

#include "monitors/phrase_match.h"
#include "platform/linux/atspi_reader.h"
#include "platform/linux/x11_top_windows.h"


#include <unistd.h>

namespace zk {

namespace {

// One look over the windows: the X server's top-level windows, each joined
// to the accessibility frame of the same process and title; frames without
// an X window (no X server, or not an X client) on their own.
class DesktopWindows final : public WindowTextSource {
public:
    DesktopWindows(X11TopWindows &x11, AtspiReader &atspi, const std::atomic<bool> &abort)
        : m_x11(x11), m_atspi(atspi), m_abort(abort)
    {
    }

    QList<TopWindow> topWindows() override
    {
        const qint64 ourPid = qint64(::getpid());
        const bool bus = m_atspi.beginLook();
        const QList<AtspiFrame> frames = bus ? m_atspi.frames(ourPid) : QList<AtspiFrame>();
        QList<bool> used(frames.size(), false);
        QList<TopWindow> out;
        for (const X11TopWindow &x : m_x11.read()) {
            if (x.pid == ourPid)
                continue;
            qsizetype frame = -1;
            for (qsizetype i = 0; i < frames.size() && frame < 0; ++i) {
                if (!used[i] && frames[i].name == x.title && (x.pid == 0 || frames[i].pid == 0 || frames[i].pid == x.pid))
                    frame = i;
            }
            // A window without a title takes its name from the accessibility
            // side when its process shows exactly one frame not yet taken.
            if (frame < 0 && x.title.isEmpty() && x.pid != 0) {
                qsizetype only = -1;
                int count = 0;
                for (qsizetype i = 0; i < frames.size(); ++i) {
                    if (!used[i] && frames[i].pid == x.pid && frames[i].visible) {
                        only = i;
                        ++count;
                    }
                }
                if (count == 1)
                    frame = only;
            }
            Entry e;
            QString title = x.title;
            if (frame >= 0) {
                used[frame] = true;
                e.frame = frames[frame].ref;
                e.hasFrame = true;
                if (title.isEmpty())
                    title = frames[frame].name;
                if (title.isEmpty())
                    title = untitledName(e.frame);
            }
            out.append(TopWindow{int(m_entries.size()), title});
            m_entries.append(e);
        }
        for (qsizetype i = 0; i < frames.size(); ++i) {
            if (used[i] || !frames[i].visible)
                continue;
            out.append(TopWindow{int(m_entries.size()),
                                 frames[i].name.isEmpty() ? untitledName(frames[i].ref) : frames[i].name});
            m_entries.append(Entry{frames[i].ref, true});
        }
        return out;
    }

    bool visitChildren(int id, bool includeBrowser, const std::function<bool(const ChildText &)> &visit) override
    {
        if (m_abort)
            return false;
        if (id < 0 || id >= m_entries.size() || !m_entries[id].hasFrame)
            return true;
        return m_atspi.visitDescendants(m_entries[id].frame, includeBrowser, [&](const AtspiText &t) {
            return m_abort || visit(ChildText{t.text, t.inputValues});
        }) && !m_abort;
    }

private:
    // The name of a window without a title: the texts inside it, line by line.
    QString untitledName(const AtspiRef &frame)
    {
        QStringList texts;
        m_atspi.visitDescendants(frame, false, [&texts](const AtspiText &t) {
            if (!t.text.isEmpty())
                texts.append(t.text);
            return false;
        });
        return texts.join(QStringLiteral("\r\n"));
    }

    struct Entry {
        AtspiRef frame;
        bool hasFrame = false;
    };
    X11TopWindows &m_x11;
    AtspiReader &m_atspi;
    const std::atomic<bool> &m_abort;
    QList<Entry> m_entries;
};

}  // namespace

// Lives in the watcher's thread; its connections to the X server and the
// accessibility bus are made and used there only.
class ScreenScanWorker final : public QObject {
public:
    explicit ScreenScanWorker(std::shared_ptr<std::atomic<bool>> abort) : m_abort(std::move(abort)) {}

    PhraseMatch scan(const QString &phrase, bool includeBrowser)
    {
        if (!m_x11)
            m_x11 = std::make_unique<X11TopWindows>();
        if (!m_atspi)
            m_atspi = std::make_unique<AtspiReader>();
        DesktopWindows windows(*m_x11, *m_atspi, *m_abort);
        return FindPhrase(phrase, includeBrowser, windows);
    }

private:
    std::shared_ptr<std::atomic<bool>> m_abort;
    std::unique_ptr<X11TopWindows> m_x11;
    std::unique_ptr<AtspiReader> m_atspi;
};

LinuxScreenText::LinuxScreenText(QObject *parent)
    : QObject(parent), m_abort(std::make_shared<std::atomic<bool>>(false))
{
    m_thread.setObjectName(QStringLiteral("zk-screen-text"));
    m_worker = new ScreenScanWorker(m_abort);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

LinuxScreenText::~LinuxScreenText()
{
    // A look still running gives up at its next window.
    m_abort->store(true);
    m_thread.quit();
    m_thread.wait();
}

void LinuxScreenText::requestScan(const QString &phrase, bool includeBrowser)
{
    if (!m_busy)
        startScan(phrase, includeBrowser);
}

std::optional<PhraseMatch> LinuxScreenText::latestAnswer(const QString &phrase, bool includeBrowser) const
{
    if (!m_hasLast || m_lastPhrase != phrase || m_lastBrowser != includeBrowser)
        return std::nullopt;
    return m_last;
}

void LinuxScreenText::scanThen(const QString &phrase, bool includeBrowser, std::function<void(const PhraseMatch &)> done)
{
    m_waiters.append(Waiter{phrase, includeBrowser, m_nextSerial, std::move(done)});
    if (!m_busy)
        startScan(phrase, includeBrowser);
    // else the look after the running one serves it (scanFinished)
}

void LinuxScreenText::startScan(const QString &phrase, bool includeBrowser)
{
    m_busy = true;
    const quint64 serial = m_nextSerial++;
    ScreenScanWorker *worker = m_worker;
    QMetaObject::invokeMethod(worker, [this, worker, serial, phrase, includeBrowser] {
        const PhraseMatch match = worker->scan(phrase, includeBrowser);
        // Back in the watcher's thread. The watcher waits for this thread
        // before it goes, and an answer still queued then goes with it.
        QMetaObject::invokeMethod(
            this, [this, serial, phrase, includeBrowser, match] { scanFinished(serial, phrase, includeBrowser, match); },
            Qt::QueuedConnection);
    });
}

void LinuxScreenText::scanFinished(quint64 serial, const QString &phrase, bool includeBrowser, const PhraseMatch &match)
{
    m_busy = false;
    m_hasLast = true;
    m_lastPhrase = phrase;
    m_lastBrowser = includeBrowser;
    m_last = match;
    QList<Waiter> ready;
    for (qsizetype i = 0; i < m_waiters.size();) {
        const Waiter &w = m_waiters[i];
        if (w.firstSerial <= serial && w.phrase == phrase && w.includeBrowser == includeBrowser)
            ready.append(m_waiters.takeAt(i));
        else
            ++i;
    }
    if (!m_waiters.isEmpty())
        startScan(m_waiters.first().phrase, m_waiters.first().includeBrowser);
    for (const Waiter &w : ready)
        w.done(match);
}

}  // namespace zk
