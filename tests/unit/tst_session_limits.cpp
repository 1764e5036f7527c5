// Which desktop session limits which feature, and that each limit is told
// once, only where the settings use the feature.
#include "core/job.h"
#include "core/session_limits.h"
#include "platform/linux/session_kind.h"

#include <QtTest>

using namespace zk;

class TestSessionLimits : public QObject {
    Q_OBJECT
private slots:
    void sessionKind()
    {
        // Platform, session type, wayland socket, X11 socket; and whether that is a Wayland session.
        const QList<std::pair<SessionEnvironment, bool>> cases{
            {{"wayland", "", true, false}, true},  // a native wayland window
            {{"xcb", "wayland", true, true}, true},  // xwayland in a wayland session
            {{"", "", true, false}, true},  // only a wayland socket
            {{"xcb", "x11", false, true}, false},
            {{"xcb", "", true, true}, false},  // both sockets, no session type
        };
        for (const auto &[env, isWayland] : cases)
            QCOMPARE(SessionKindOf(env) == SessionKind::Wayland, isWayland);
    }

    void eachUsedLimitToldOnce()
    {
        AppState state;
        state.job.Topmost = 0;
        state.job.MonitorEnabled = 1;
        state.job.MonitorKind = int(MonitorKind::Phrase);

        SessionLimitNotices x11(SessionKind::X11);
        QVERIFY(x11.take(FeaturesInUse(state, true)).isEmpty());

        SessionLimitNotices wayland(SessionKind::Wayland);
        // Ticking the phrase watcher tells of the phrase only.
        QCOMPARE(wayland.take(FeaturesInUse(state, false)),
                 QStringList{SessionLimitText(SessionLimit::PhraseTitles)});
        // A run adds the warning window on top, the phrase is not told again.
        QCOMPARE(wayland.take(FeaturesInUse(state, true)), QStringList{SessionLimitText(SessionLimit::NoForcedTop)});
        state.job.MonitorKind = int(MonitorKind::BatteryIdle);
        QCOMPARE(wayland.take(FeaturesInUse(state, true)),
                 QStringList{SessionLimitText(SessionLimit::IdleFromLogind)});
        QVERIFY(wayland.take(FeaturesInUse(state, true)).isEmpty());

        // The CPU condition is not limited; without a monitor only the window on top is used.
        state.job.MonitorKind = int(MonitorKind::Cpu);
        QCOMPARE(FeaturesInUse(state, true), QList<SessionLimit>{SessionLimit::NoForcedTop});
        state.job.MonitorEnabled = 0;
        QVERIFY(FeaturesInUse(state, false).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSessionLimits)
#include "tst_session_limits.moc"
