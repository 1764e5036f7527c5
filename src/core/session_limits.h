// What the kind of desktop session limits. On Wayland a program sees no
// other program's windows, reads no idle time from the display server and
// cannot keep its own window above the others: the features built on those
// work in part only, and the user is told so once, where the feature was
// set up.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace zk {

struct AppState;

enum class SessionKind { X11, Wayland };

enum class SessionLimit {
    PhraseTitles,  // the phrase watcher reads accessible applications (AT-SPI) only
    IdleFromLogind,  // the idle time is logind's idle hint
    NoForcedTop,   // the warning window cannot force itself on top
};

// The features that `kind` limits.
QList<SessionLimit> SessionLimits(SessionKind kind);

// The features the settings use that a session may limit: the watched
// phrase, the idle time of the battery condition, and the window kept on top
// (ticked, or during a run, where the warning window always asks for it).
QList<SessionLimit> FeaturesInUse(const AppState &state, bool running);

// The notice of one limited feature.
QString SessionLimitText(SessionLimit limit);

// Each limited feature is told once per program run, whichever place tells it.
class SessionLimitNotices {
public:
    explicit SessionLimitNotices(SessionKind kind) : m_kind(kind) {}
    SessionKind kind() const { return m_kind; }
    // The notices of those of `used` that the session limits and that were
    // not told yet; they count as told from now on.
    QStringList take(const QList<SessionLimit> &used);

private:
    SessionKind m_kind;
    QSet<SessionLimit> m_told;
};

}  // namespace zk
