// frmPowerState: the power status in five rows, always on top, refreshed
// every second while it is open. The rows come from PowerStatePanel.
#pragma once

#include "monitors/power_state_panel.h"

#include <QDialog>
#include <QTimer>
#include <array>

class QLabel;

namespace zk {

class PowerStateWindow final : public QDialog {
    Q_OBJECT
public:
    PowerStateWindow(PowerStatus *status, SessionPower *power, QWidget *parent = nullptr);

    // The value labels, top to bottom.
    QLabel *valueLabel(int row) const { return m_values[size_t(row)]; }

    // A new window (deleted when closed), modal to its parent, shown at once.
    static PowerStateWindow *open(PowerStatus *status, SessionPower *power, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showValues();

    PowerStatePanel m_panel;
    QTimer m_timer;
    std::array<QLabel *, PowerStatePanel::kRows> m_values{};
};

}  // namespace zk
