// The screen text watcher of the Linux desktop: the top-level windows and
// their titles from the X server, their child texts through the
// accessibility bus (AT-SPI), or the accessibility bus alone where there is
// no X server. Each look runs in a thread of its own, so a window that does
// not answer (it may cost up to 2 s) never holds up ours; the countdown reads
// the latest finished answer. What was read is kept; the change notices of
// the X server and of the applications drop what they name, and once a
// phrase has been asked for, each notice brings a look (and a new latest
// answer) at once. A window is read again without a notice after the rescan
// interval. Our own windows never match. Without display
// and accessibility bus nothing is shown.
#pragma once

#include "core/ports/screen_text.h"

#include <QList>
#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

namespace zk {

class ScreenScanWorker;

class LinuxScreenText final : public QObject, public ScreenText {
    Q_OBJECT
public:
    explicit LinuxScreenText(QObject *parent = nullptr);
    ~LinuxScreenText() override;

    bool available() const override { return true; }
    void requestScan(const QString &phrase, bool includeBrowser) override;
    std::optional<PhraseMatch> latestAnswer(const QString &phrase, bool includeBrowser) const override;
    void scanThen(const QString &phrase, bool includeBrowser, std::function<void(const PhraseMatch &)> done) override;

    // Whether a look is running now.
    bool scanning() const { return m_busy; }
    // How long a window's texts are kept without a change notice (30 s by default).
    void setRescanInterval(qint64 ms);
    // The windows whose texts are kept after the latest look.
    int keptWindows() const { return m_kept->load(); }

private:
    struct Waiter {
        QString phrase;
        bool includeBrowser = false;
        quint64 firstSerial = 0;  // the first look that may answer it
        std::function<void(const PhraseMatch &)> done;
    };
    void startScan(const QString &phrase, bool includeBrowser);
    // Keeps the answer; true when it changed what the latest answer says.
    bool noteAnswer(const QString &phrase, bool includeBrowser, const PhraseMatch &match);
    void scanFinished(quint64 serial, const QString &phrase, bool includeBrowser, const PhraseMatch &match);

    QThread m_thread;
    ScreenScanWorker *m_worker = nullptr;
    std::shared_ptr<std::atomic<bool>> m_abort;
    std::shared_ptr<std::atomic<int>> m_kept;
    bool m_busy = false;
    quint64 m_nextSerial = 1;
    QList<Waiter> m_waiters;
    bool m_hasLast = false;
    QString m_lastPhrase;
    bool m_lastBrowser = false;
    PhraseMatch m_last;
};

}  // namespace zk
