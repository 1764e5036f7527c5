#include "app/explain.h"

#include "resume/weekly_resume.h"
#include "run/multi_run.h"
#include "run/run_plan.h"
#include "settings/explain_settings.h"
#include "settings/settings_fields.h"

namespace zk {

QJsonObject ExplainState(const AppState &state, const QString &caption)
{
    const JobSettings &j = state.job;
    const CommandLineValues &cl = state.cl;
    // The job settings the settings file holds, then those it does not.
    QJsonObject o = ExplainSettingsFields(state, ExplainInState);
    o[u"ExtendedMenu"] = j.ExtendedMenu;

    o[u"AutoStart"] = cl.AutoStart;
    o[u"ExecWeekMask"] = cl.ExecWeekMask;
    o[u"NoDisplay"] = cl.NoDisplay;
    o[u"PopupLeadSeconds"] = cl.PopupLeadSeconds;
    o[u"ZeroTimeSeconds"] = cl.ZeroTimeSeconds;
    o[u"HideBeforeSuspend"] = cl.HideBeforeSuspend;
    o[u"ResumeRecountMinutes"] = cl.ResumeRecountMinutes;
    o[u"ApPath"] = cl.ApPath;
    o[u"ApParameters"] = cl.ApParameters;
    o[u"ResumeAppCommand"] = cl.ResumeAppCommand;
    o[u"ResumeTime"] = cl.ResumeTime.isValid() ? cl.ResumeTime.toString(Qt::ISODate) : QString();
    o[u"OperationText"] = state.OperationText();
    o[u"Caption"] = caption;
    return o;
}

QJsonObject ExplainWake(const WakeAbility &ability)
{
    return QJsonObject{{QStringLiteral("Possible"), ability.possible()},
                       {QStringLiteral("Way"), ability.wayName()},
                       {QStringLiteral("Helper"), ability.helperPath},
                       {QStringLiteral("Reason"), ability.reason}};
}

QJsonObject ExplainRun(const AppState &state, const QString &caption, const QDateTime &now,
                       const StartEnvironment &env)
{
    QJsonObject o = ExplainState(state, caption);
    MergeJson(o, ExplainSettingsFile(state));
    MergeJson(o, ExplainPlan(state, now, env));
    o.insert(QStringLiteral("MultiPlan"), ExplainMultiPlan(state, now));
    o.insert(QStringLiteral("Wake"), ExplainWake(ProbeWakeAbility({env.programDir})));
    o.insert(QStringLiteral("DroppedMultiRows"), ExplainDroppedMultiRows(state));
    o.insert(QStringLiteral("DroppedResumeListRows"), ExplainDroppedResumeRows(state));
    return o;
}

}  // namespace zk
