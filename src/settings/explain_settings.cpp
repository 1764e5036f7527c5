#include "settings/explain_settings.h"

#include "settings/settings_fields.h"

namespace zk {

QJsonObject ExplainSettingsFile(const AppState &s)
{
    QJsonObject o = ExplainSettingsFields(s, ExplainInFile);
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
