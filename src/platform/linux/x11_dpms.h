// Monitor power through the DPMS extension of the X display named by DISPLAY.
#pragma once

namespace zk {

// Switches the monitors of $DISPLAY on or off. False when there is no X
// display or it has no DPMS; then nothing happens.
bool ForceMonitorPower(bool on);

// The DPMS power level of $DISPLAY's monitors: 0 on, 1 standby, 2 suspend,
// 3 off; -1 without an X display with DPMS.
int MonitorPowerLevel();

}  // namespace zk
