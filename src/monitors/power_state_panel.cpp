#include "monitors/power_state_panel.h"

#include "monitors/power_texts.h"

namespace zk {

PowerStatePanel::PowerStatePanel(PowerStatus *status, SessionPower *power, QObject *parent)
    : QObject(parent), m_status(status), m_power(power)
{
    // Hibernation counts as allowed only once the system has said so: until
    // an answer comes (and when none comes) the row reads "無効".
    m_values[4] = tr("無効");
}

const std::array<QString, PowerStatePanel::kRows> &PowerStatePanel::captions()
{
    //: Row captions of the power status window: the power line, the charge, the
    //: remaining charge in percent, the remaining seconds, whether hibernation is allowed.
    static const std::array<QString, kRows> kCaptions{tr("電源状態"), tr("充電"), tr("残量"), tr("残秒"),
                                                      //: Hibernation (the power action), as a row caption.
                                                      tr("休止")};
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
        setValue(0, r == kPowerStatusUnsupported ? tr("非サポート") : tr("エラー"));
    }
    if (!m_power) {
        setValue(4, tr("無効"));
    } else if (!m_asking) {
        // One question at a time: an answer slower than the refresh is not
        // asked again meanwhile.
        m_asking = true;
        m_power->queryHibernationAllowed(this, [this](bool allowed) {
            m_asking = false;
            setValue(4, allowed ? tr("有効") : tr("無効"));
        });
    }
}

}  // namespace zk
