// The watch (fr監視): whether a condition is watched, which kind, and the
// page of that kind's settings (the pages are listed in monitor_pages.cpp).
#pragma once

#include "ui/panels/monitor_page.h"

#include <QGroupBox>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QRadioButton;
class QStackedWidget;

namespace zk {

class MonitorPanel : public QGroupBox, public JobPanel {
    Q_OBJECT
public:
    MonitorPanel(PanelHost &host, QWidget *parent);

    void load(const JobSettings &job) override;
    void store(JobSettings &job) const override;
    void showOperationTips(const OperationTooltips &tips) override;

    // The page of one kind, if the watch has it.
    template <typename Page>
    Page *page() const
    {
        for (MonitorPage *p : m_pages)
            if (auto *found = qobject_cast<Page *>(p))
                return found;
        return nullptr;
    }
    // The kind button and page of the chosen kind, enabled as the box says.
    void applyLayout();
    // The power status reported "バッテリなし": kinds that need a battery are disabled.
    void setNoBattery(bool noBattery);
    void setWatching(bool on);
    // Brings forward the page that holds `field`, where focusing it should.
    void showPageFor(const QWidget *field);

Q_SIGNALS:
    // The watch was switched or its kind changed.
    void watchChanged();

private:
    bool m_noBattery = false;
    QCheckBox *chkMonitor = nullptr;
    std::vector<QRadioButton *> optMonitorKind;
    QButtonGroup *monitorKindGroup = nullptr;
    QStackedWidget *monitorPages = nullptr;
    std::vector<MonitorPage *> m_pages;
};

}  // namespace zk
