// The machine runs on battery and no user input came for the set seconds.
#pragma once

#include "monitors/trigger.h"

namespace zk {

class BatteryIdleTrigger final : public Trigger {
public:
    BatteryIdleTrigger(const AppState &state, PowerStatus *status, UserIdle *idle)
        : m_state(state), m_status(status), m_idle(idle)
    {
    }

    std::optional<bool> holds(const QDateTime &now) override;
    // The power line text, shown to the user ("" when the status cannot be
    // read); the condition uses the line last read here.
    std::optional<QString> readStatus() override;

private:
    const AppState &m_state;
    PowerStatus *m_status;
    UserIdle *m_idle;
    bool m_onBattery = false;  // as last read
};

}  // namespace zk
