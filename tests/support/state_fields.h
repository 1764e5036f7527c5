// A value of the program's state by name, as text, so that a table row can
// name what it sets and what it expects ("Force=1", "DelayMinutes=  90").
#pragma once

#include "core/job.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace zktest {

class StateField {
public:
    StateField(zk::AppState &s, const QString &name) : m_s(s), m_name(name) {}

    QString get() const
    {
        if (m_name == QLatin1String("MonitorMode"))
            return QString::number(int(m_s.monitorMode()));
        if (m_name == QLatin1String("Wednesday"))
            return QString::number(m_s.job.resumeWeekday(4));
        if (int *i = ints().value(m_name))
            return QString::number(*i);
        if (bool *b = bools().value(m_name))
            return *b ? QStringLiteral("true") : QStringLiteral("false");
        return text();
    }
    void set(const QString &value)
    {
        if (int *i = ints().value(m_name))
            *i = value.toInt();
        else
            text() = value;
    }
    QString &text() const
    {
        QString *t = texts().value(m_name);
        if (!t)
            qFatal("unknown field %s", qPrintable(m_name));
        return *t;
    }

    // "Name=value" read back as the state holds it now.
    static QString Entry(zk::AppState &s, const QString &nameAndValue)
    {
        const QString name = nameAndValue.section(QLatin1Char('='), 0, 0);
        return name + QLatin1Char('=') + StateField(s, name).get();
    }
    // Sets each "Name=value" (a value may start with blanks).
    static void Apply(zk::AppState &s, const QStringList &entries)
    {
        for (const QString &e : entries)
            StateField(s, e.section(QLatin1Char('='), 0, 0)).set(e.section(QLatin1Char('='), 1, -1));
    }

private:
    QMap<QString, int *> ints() const
    {
        zk::JobSettings &j = m_s.job;
        return {{"Operation", &j.Operation}, {"TimingMode", &j.TimingMode}, {"ResumeEnabled", &j.ResumeEnabled},
                {"ResumeAtClock", &j.ResumeAtClock}, {"MonitorEnabled", &j.MonitorEnabled},
                {"MonitorKind", &j.MonitorKind}, {"PhraseEvent", &j.PhraseEvent}, {"Topmost", &j.Topmost},
                {"CountdownSound", &j.CountdownSound}, {"ResumeMonitorOn", &j.ResumeMonitorOn},
                {"ResumeKeepState", &j.ResumeKeepState}, {"MultiEnabled", &j.MultiEnabled}, {"Force", &j.Force},
                {"NoAlert", &j.NoAlert}, {"MinimizeAtStart", &j.MinimizeAtStart}, {"TrayIcon", &j.TrayIcon},
                {"CaptureOnExit", &j.CaptureOnExit}, {"IeMonitor", &j.IeMonitor}, {"ResumeOnly", &j.ResumeOnly},
                {"LaunchApp", &j.LaunchApp}, {"ShowQuickButtons", &j.ShowQuickButtons}, {"WindowLeft", &m_s.WindowLeft},
                {"WindowTop", &m_s.WindowTop}, {"Reserved69", &m_s.Reserved69}, {"EditWidth", &m_s.edit.EditWidth},
                {"EditMode", &m_s.edit.EditMode}, {"EditFontSize", &m_s.edit.EditFontSize},
                {"HistoryMax", &m_s.history.HistoryMax}, {"HistoryRows", &m_s.history.HistoryRows},
                {"ResumeRecountMinutes", &m_s.cl.ResumeRecountMinutes},
                {"PopupLeadSeconds", &m_s.cl.PopupLeadSeconds}, {"ZeroTimeSeconds", &m_s.cl.ZeroTimeSeconds}};
    }
    QMap<QString, bool *> bools() const
    {
        return {{"HideBeforeSuspend", &m_s.cl.HideBeforeSuspend}, {"NoDisplay", &m_s.cl.NoDisplay}};
    }
    QMap<QString, QString *> texts() const
    {
        zk::JobSettings &j = m_s.job;
        zk::HistorySettings &h = m_s.history;
        return {{"DelayMinutes", &j.DelayMinutes}, {"ClockHour", &j.ClockHour}, {"ClockMinute", &j.ClockMinute},
                {"ResumeAfterMinutes", &j.ResumeAfterMinutes}, {"MonitorPhrase", &j.MonitorPhrase},
                {"AppCommand", &j.AppCommand}, {"CpuLowerLimit", &j.CpuLowerLimit},
                {"CpuAverageSeconds", &j.CpuAverageSeconds}, {"IdleSeconds", &j.IdleSeconds},
                {"CpuProcess", &j.CpuProcess}, {"ResumeAppCommand", &m_s.cl.ResumeAppCommand},
                {"ExecWeekMask", &m_s.cl.ExecWeekMask}, {"ResumeYear", &j.ResumeDateParts[0]},
                {"ResumeMonth", &j.ResumeDateParts[1]}, {"ResumeDay", &j.ResumeDateParts[2]},
                {"ResumeHour", &j.ResumeDateParts[3]}, {"ResumeMinute", &j.ResumeDateParts[4]},
                {"CaptureFolder", &m_s.CaptureFolder}, {"LastProgramFolder", &m_s.LastProgramFolder},
                {"HistoryText", &h.HistoryText}, {"HistorySort", &h.HistorySort},
                {"HistoryOddColor", &h.HistoryOddColor}, {"HistoryColors", &h.HistoryColors}};
    }

    zk::AppState &m_s;
    QString m_name;
};

}  // namespace zktest
