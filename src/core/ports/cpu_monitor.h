// The CPU usage sampler as the countdown sees it.
#pragma once

#include <QString>

namespace zk {

class CpuMonitor {
public:
    virtual ~CpuMonitor() = default;
    // Start of a run: a fresh sample buffer for this averaging span
    // (cmb継続時間 text); sampling runs when `sampling` is true (CPU kind
    // selected with the monitor box checked). lowerLimitText is the cmb下限
    // text the average is coloured against; processSelector is the
    // cmbProcess text ("" = the whole machine).
    virtual void begin(const QString &averageSecondsText, const QString &lowerLimitText,
                       const QString &processSelector, bool sampling) = 0;
    // Stop sampling; clearTexts empties the sample and average texts (the stop
    // button does, the power action leaves them).
    virtual void stop(bool clearTexts) = 0;
    // The average text (lbl平均), e.g. "  0", " 12.5", " -1". Empty when
    // nothing has been measured: the CPU condition then does not hold.
    virtual QString averageText() const = 0;
};

}  // namespace zk
