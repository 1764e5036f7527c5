#include "core/session_limits.h"

#include <QCoreApplication>

#include "core/job.h"

namespace zk {

QList<SessionLimit> SessionLimits(SessionKind kind)
{
    if (kind == SessionKind::Wayland)
        return {SessionLimit::PhraseTitles, SessionLimit::IdleFromLogind, SessionLimit::NoForcedTop};
    return {};
}

QList<SessionLimit> FeaturesInUse(const AppState &state, bool running)
{
    QList<SessionLimit> used;
    const MonitorMode mode = state.monitorMode();
    if (mode == MonitorMode::Appear || mode == MonitorMode::Disappear)
        used << SessionLimit::PhraseTitles;
    if (mode == MonitorMode::Battery)
        used << SessionLimit::IdleFromLogind;
    if (running || state.job.Topmost != 0)
        used << SessionLimit::NoForcedTop;
    return used;
}

QString SessionLimitText(SessionLimit limit)
{
    switch (limit) {
    case SessionLimit::PhraseTitles:
        return QCoreApplication::translate("SessionLimits",
                                           "Wayland セッションでは、監視文言は AT-SPI 対応アプリケーションの中だけを探します"
                                           "（ウィンドウのタイトルは読めません）。");
    case SessionLimit::IdleFromLogind:
        return QCoreApplication::translate("SessionLimits",
                                           "Wayland セッションでは、無操作の時間は logind のアイドル状態から読みます"
                                           "（コンポジターの無操作通知は使いません）。");
    case SessionLimit::NoForcedTop:
        return QCoreApplication::translate("SessionLimits",
                                           "Wayland セッションでは、警告のウィンドウを他のウィンドウより手前に固定できません。");
    }
    return QString();
}

QStringList SessionLimitNotices::take(const QList<SessionLimit> &used)
{
    QStringList texts;
    const QList<SessionLimit> limited = SessionLimits(m_kind);
    for (SessionLimit l : used) {
        if (!limited.contains(l) || m_told.contains(l))
            continue;
        m_told.insert(l);
        texts << SessionLimitText(l);
    }
    return texts;
}

}  // namespace zk
