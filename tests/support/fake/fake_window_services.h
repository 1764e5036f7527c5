// The main window's questions answered by a test: saves and resets counted,
// hibernation asked of a fake power backend, paths kept as chosen.
#pragma once

#include "core/job.h"
#include "support/fake/fake_services.h"
#include "ui/main_window_services.h"

namespace zk {

class FakeWindowServices final : public MainWindowServices {
public:
    FakeWindowServices(FakeSessionPower &power, AppState &state) : m_power(power), m_state(state) {}

    int saves = 0;
    int resets = 0;
    bool saveWorks = true;

    void queryHibernationAllowed(QObject *context, std::function<void(bool)> answer) override
    {
        m_power.queryHibernationAllowed(context, std::move(answer));
    }
    bool saveSettings() override
    {
        ++saves;
        return saveWorks;
    }
    void resetDefaults() override
    {
        m_state.job = JobSettings();
        ++resets;
    }
    QString makeRelativePath(const QString &path) override { return path; }

private:
    FakeSessionPower &m_power;
    AppState &m_state;
};

}  // namespace zk
