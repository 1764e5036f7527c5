// The monitor page of the power state (frPower): on battery, after this
// many seconds without input; the line status and the power state button.
#pragma once

#include "ui/panels/monitor_page.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zk {

class PowerPage : public MonitorPage {
    Q_OBJECT
public:
    PowerPage(PanelHost &host, QWidget *parent);
    bool needsBattery() const override { return true; }
    void setLineStatusText(const QString &text);

Q_SIGNALS:
    // The button "電源状態": the power status window should open.
    void powerStateRequested();

private:
    QComboBox *cmbTimePower = nullptr;
    QLabel *lblStatus = nullptr;
    QPushButton *cmdDspPowerState = nullptr;
};

}  // namespace zk
