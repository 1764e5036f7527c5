#include "settings/explain_settings.h"

#include "settings/settings_fields.h"

namespace zk {

QJsonObject ExplainSettingsFile(const AppState &s)
{
    QJsonObject o = ExplainSettingsFields(s, ExplainInFile);
    o.insert(QStringLiteral("ExtendedMenu"), s.job.ExtendedMenu);
    o.insert(QStringLiteral("ActiveOddColor"), s.ActiveOddColor);
    o.insert(QStringLiteral("ActiveColors"), s.ActiveColors);
    return o;
}

void MergeJson(QJsonObject &into, const QJsonObject &from)
{
    for (auto it = from.begin(); it != from.end(); ++it)
        into.insert(it.key(), it.value());
}

}  // namespace zk
