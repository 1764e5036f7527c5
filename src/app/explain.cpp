#include "app/explain.h"

#include <QJsonArray>

namespace zk {

QJsonObject ExplainState(const AppState &state, const QString &caption)
{
    const JobSettings &j = state.job;
    const CommandLineValues &cl = state.cl;
    QJsonObject o;
    o[u"Operation"] = j.Operation;
    o[u"TimingMode"] = j.TimingMode;
    o[u"DelayMinutes"] = j.DelayMinutes;
    o[u"ClockHour"] = j.ClockHour;
    o[u"ClockMinute"] = j.ClockMinute;
    o[u"Force"] = j.Force;
    o[u"MonitorEnabled"] = j.MonitorEnabled;
    o[u"MonitorKind"] = j.MonitorKind;
    o[u"PhraseEvent"] = j.PhraseEvent;
    o[u"MonitorPhrase"] = j.MonitorPhrase;
    o[u"IeMonitor"] = j.IeMonitor;
    o[u"CpuLowerLimit"] = j.CpuLowerLimit;
    o[u"CpuAverageSeconds"] = j.CpuAverageSeconds;
    o[u"CpuProcess"] = j.CpuProcess;
    o[u"IdleSeconds"] = j.IdleSeconds;
    o[u"MultiEnabled"] = j.MultiEnabled;
    o[u"ResumeEnabled"] = j.ResumeEnabled;
    o[u"ResumeOnly"] = j.ResumeOnly;
    o[u"ResumeAtClock"] = j.ResumeAtClock;
    o[u"ResumeAfterMinutes"] = j.ResumeAfterMinutes;
    QJsonArray parts;
    for (const QString &p : j.ResumeDateParts)
        parts.append(p);
    o[u"ResumeDateParts"] = parts;
    o[u"ResumeKeepState"] = j.ResumeKeepState;
    o[u"ResumeMonitorOn"] = j.ResumeMonitorOn;
    QJsonArray days;
    for (int d : j.ResumeWeekdays)
        days.append(d);
    o[u"ResumeWeekdays"] = days;
    o[u"LaunchApp"] = j.LaunchApp;
    o[u"AppCommand"] = j.AppCommand;
    o[u"Topmost"] = j.Topmost;
    o[u"TrayIcon"] = j.TrayIcon;
    o[u"MinimizeAtStart"] = j.MinimizeAtStart;
    o[u"CountdownSound"] = j.CountdownSound;
    o[u"NoAlert"] = j.NoAlert;
    o[u"CaptureOnExit"] = j.CaptureOnExit;
    o[u"ShowQuickButtons"] = j.ShowQuickButtons;
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

}  // namespace zk
