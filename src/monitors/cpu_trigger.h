// The CPU usage stays under the lower limit once one averaging span has passed.
#pragma once

#include "monitors/trigger.h"

namespace zk {

class CpuTrigger final : public Trigger {
public:
    CpuTrigger(const AppState &state, CpuMonitor *cpu) : m_state(state), m_cpu(cpu) {}

    void start(const QDateTime &runStart) override;
    void stop(bool clearTexts) override;
    std::optional<bool> holds(const QDateTime &now) override;

private:
    const AppState &m_state;
    CpuMonitor *m_cpu;
    QDateTime m_runStart;
};

}  // namespace zk
