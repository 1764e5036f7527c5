// A panel of the main window that shows job fields: its own rows of the
// binding table, shown, stored and written back live through them.
#pragma once

#include "core/job_edit.h"
#include "ui/job_bindings.h"
#include "ui/panels/panel_host.h"

namespace zk {

class JobPanel {
public:
    explicit JobPanel(PanelHost &host) : m_host(host) {}
    virtual ~JobPanel() = default;
    // Shows the record's fields in the controls (handlers do not write back).
    virtual void load(const JobSettings &job) { m_bindings.load(job); }
    // Writes the controls' values into a record.
    virtual void store(JobSettings &job) const { m_bindings.store(job); }
    // The chosen operation's tool tips, for the controls of this panel that take one.
    virtual void showOperationTips(const OperationTooltips &tips) { (void)tips; }

protected:
    // Connects the Live rows: before any other handler of the same controls,
    // so that those handlers find the new values in the record.
    void connectLive(QObject *context)
    {
        m_bindings.connectLive(
            context, [this]() -> JobSettings & { return m_host.state().job; }, [this] { return !m_host.loading() && m_quiet == 0; });
    }

    PanelHost &m_host;
    JobBindings m_bindings;
    int m_quiet = 0;  // > 0 while the panel itself refills a control: no write back
};

}  // namespace zk
