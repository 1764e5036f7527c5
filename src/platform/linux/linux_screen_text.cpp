#include "platform/linux/linux_screen_text.h"

#include "monitors/phrase_match.h"
#include "platform/linux/atspi_reader.h"
#include "platform/linux/x11_top_windows.h"

#include <QSocketNotifier>
#include <QTimer>

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
// accessibility bus are made and used there only. What it read is kept
// between looks (the X server's list and titles, the frames and the
// windows' texts); the change notices of both drop what they name, and
// while a phrase is watched each notice brings a look of its own (after a
// short pause that gathers the notices of one change), whose answer is
// handed to `answer` without waiting for the next request.
class ScreenScanWorker final : public QObject {
public:
    using Answer = std::function<void(const QString &, bool, const PhraseMatch &)>;
    ScreenScanWorker(std::shared_ptr<std::atomic<bool>> abort, std::shared_ptr<std::atomic<int>> kept, Answer answer)
        : m_abort(std::move(abort)), m_kept(std::move(kept)), m_answer(std::move(answer)), m_soon(this)
    {
    }

    PhraseMatch scan(const QString &phrase, bool includeBrowser)
    {
        m_phrase = phrase;
        m_includeBrowser = includeBrowser;
        m_watching = true;
        return look();
    }

    void setRescanInterval(qint64 ms)
    {
        m_rescanMs = ms;
        if (m_atspi)
            m_atspi->setRescanInterval(ms);
    }

private:
    PhraseMatch look()
    {
        if (!m_x11)
            m_x11 = std::make_unique<X11TopWindows>();
        if (!m_atspi) {
            m_atspi = std::make_unique<AtspiReader>();
            m_atspi->setRescanInterval(m_rescanMs);
            m_atspi->setOnChange([this] { changed(); });
            m_soon.setSingleShot(true);
            m_soon.setInterval(50);
            QObject::connect(&m_soon, &QTimer::timeout, this, [this] {
                const PhraseMatch match = look();
                if (!*m_abort)
                    m_answer(m_phrase, m_includeBrowser, match);
            });
        }
        DesktopWindows windows(*m_x11, *m_atspi, *m_abort);
        const PhraseMatch match = FindPhrase(m_phrase, m_includeBrowser, windows);
        m_kept->store(m_atspi->keptWindows());
        watchX11();
        return match;
    }

    // The X server's notices come on its connection; those read along with
    // an answer wait in the connection's queue and are taken here too.
    void watchX11()
    {
        const int fd = m_x11->fd();
        if (fd != m_fd) {
            m_notifier.reset();
            m_fd = fd;
            if (fd >= 0) {
                m_notifier = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Read);
                QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
                    if (m_x11->takeChanges())
                        changed();
                });
            }
        }
        if (m_x11->takeChanges())
            changed();
    }

    void changed()
    {
        if (m_watching && !m_soon.isActive())
            m_soon.start();
    }

    std::shared_ptr<std::atomic<bool>> m_abort;
    std::shared_ptr<std::atomic<int>> m_kept;
    Answer m_answer;
    qint64 m_rescanMs = 30000;
    QString m_phrase;
    bool m_includeBrowser = false;
    bool m_watching = false;
    QTimer m_soon;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<X11TopWindows> m_x11;
    std::unique_ptr<AtspiReader> m_atspi;
};

LinuxScreenText::LinuxScreenText(QObject *parent)
    : QObject(parent), m_abort(std::make_shared<std::atomic<bool>>(false)), m_kept(std::make_shared<std::atomic<int>>(0))
{
    m_thread.setObjectName(QStringLiteral("zk-screen-text"));
    m_worker = new ScreenScanWorker(m_abort, m_kept, [this](const QString &phrase, bool includeBrowser, const PhraseMatch &match) {
        // Back in the watcher's thread (see startScan).
        QMetaObject::invokeMethod(
            this,
            [this, phrase, includeBrowser, match] {
                if (noteAnswer(phrase, includeBrowser, match))
                    answerChanged();
            },
            Qt::QueuedConnection);
    });
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

void LinuxScreenText::setRescanInterval(qint64 ms)
{
    ScreenScanWorker *worker = m_worker;
    QMetaObject::invokeMethod(worker, [worker, ms] { worker->setRescanInterval(ms); });
}

bool LinuxScreenText::noteAnswer(const QString &phrase, bool includeBrowser, const PhraseMatch &match)
{
    const bool changed = !m_hasLast || m_lastPhrase != phrase || m_lastBrowser != includeBrowser ||
                         m_last.shown() != match.shown();
    m_hasLast = true;
    m_lastPhrase = phrase;
    m_lastBrowser = includeBrowser;
    m_last = match;
    return changed;
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
    const bool changed = noteAnswer(phrase, includeBrowser, match);
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
    // Last: the listener may ask for the next look.
    if (changed)
        answerChanged();
}

}  // namespace zk
