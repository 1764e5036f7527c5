#include "monitors/power_state_panel.h"

#include "monitors/power_texts.h"

namespace zk {

PowerStatePanel::PowerStatePanel(PowerStatus *status, SessionPower *power, QObject *parent)
    : QObject(parent), m_status(status), m_power(power)
{
    // Hibernation counts as allowed only once the system has said so: until
    // an answer comes (and when none comes) the row reads "無効".
    m_values[4] = QStringLiteral("無効");
}

const std::array<QString, PowerStatePanel::kRows> &PowerStatePanel::captions()
{
    static const std::array<QString, kRows> kCaptions{QStringLiteral("電源状態"), QStringLiteral("充電"),
                                                      QStringLiteral("残量"), QStringLiteral("残秒"),
                                                      QStringLiteral("休止")};
    return kCaptions;
}

void PowerStatePanel::setValue(int row, const QString &text)
{
    if (m_values[size_t(row)] == text)
        return;
    m_values[size_t(row)] = text;
    Q_EMIT valuesChanged();
}

void PowerStatePanel::refresh()
{
    PowerStatusRaw raw;
    const int r = m_status ? m_status->read(raw) : kPowerStatusUnsupported;
    if (r == kPowerStatusOk) {
        const PowerStatusTexts t = PowerStatusTextsFrom(raw);
        setValue(0, t.line);
        setValue(1, t.charge);
        setValue(2, t.percent);
        setValue(3, t.seconds);
    } else {
        setValue(0, r == kPowerStatusUnsupported ? QStringLiteral("非サポート") : QStringLiteral("エラー"));
    }
    if (!m_power) {
        setValue(4, QStringLiteral("無効"));
    } else if (!m_asking) {
        // One question at a time: an answer slower than the refresh is not
        // asked again meanwhile.
        m_asking = true;
        m_power->queryHibernationAllowed(this, [this](bool allowed) {
            m_asking = false;
            setValue(4, allowed ? QStringLiteral("有効") : QStringLiteral("無効"));
        });
    }
}

}  // namespace zk
