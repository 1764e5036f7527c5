#include "settings/explain_settings.h"

#include <QJsonArray>

namespace zk {

QJsonObject ExplainSettingsFile(const AppState &s)
{
    QJsonObject o;
    o.insert(QStringLiteral("MultiEnabled"), s.job.MultiEnabled);
    QJsonArray multi;
    for (const MultiEntry &m : s.MultiRows) {
        multi.append(QJsonObject{{QStringLiteral("Hour"), m.Hour},
                                 {QStringLiteral("Minute"), m.Minute},
                                 {QStringLiteral("Operation"), m.Operation},
                                 {QStringLiteral("Application"), m.Application}});
    }
    o.insert(QStringLiteral("MultiRows"), multi);
    QJsonArray weekly;
    for (const ResumeEntry &w : s.WeeklyResumeTable) {
        weekly.append(QJsonObject{{QStringLiteral("Hour"), w.Hour},
                                  {QStringLiteral("Minute"), w.Minute},
                                  {QStringLiteral("Application"), w.Application}});
    }
    o.insert(QStringLiteral("WeeklyResumeTable"), weekly);
    o.insert(QStringLiteral("CaptureFolder"), s.CaptureFolder);
    o.insert(QStringLiteral("LastProgramFolder"), s.LastProgramFolder);
    o.insert(QStringLiteral("Reserved69"), s.Reserved69);
    o.insert(QStringLiteral("ShowQuickButtons"), s.job.ShowQuickButtons);
    o.insert(QStringLiteral("ExtendedMenu"), s.job.ExtendedMenu);
    o.insert(QStringLiteral("HistoryText"), s.history.HistoryText);
    o.insert(QStringLiteral("HistoryMax"), s.history.HistoryMax);
    o.insert(QStringLiteral("HistoryRows"), s.history.HistoryRows);
    o.insert(QStringLiteral("HistorySort"), s.history.HistorySort);
    o.insert(QStringLiteral("HistoryOddColor"), s.history.HistoryOddColor);
    o.insert(QStringLiteral("HistoryColors"), s.history.HistoryColors);
    o.insert(QStringLiteral("ActiveOddColor"), s.ActiveOddColor);
    o.insert(QStringLiteral("ActiveColors"), s.ActiveColors);
    o.insert(QStringLiteral("EditWidth"), s.edit.EditWidth);
    o.insert(QStringLiteral("EditHeight"), s.edit.EditHeight);
    o.insert(QStringLiteral("EditMode"), s.edit.EditMode);
    o.insert(QStringLiteral("EditFontSize"), s.edit.EditFontSize);
    return o;
}

void MergeJson(QJsonObject &into, const QJsonObject &from)
{
    for (auto it = from.begin(); it != from.end(); ++it)
        into.insert(it.key(), it.value());
}

}  // namespace zk
