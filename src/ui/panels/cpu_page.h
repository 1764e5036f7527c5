// The monitor page of the CPU usage (frCpu): the lower limit, the averaging
// time, the watched process, and the sampler's current figures.
#pragma once

#include "core/run_view.h"
#include "ui/panels/monitor_page.h"

class QComboBox;
class QLabel;

namespace zk {

class CpuPage : public MonitorPage {
    Q_OBJECT
public:
    CpuPage(PanelHost &host, QWidget *parent);
    // The entries of the process list; the current choice stays selected.
    void setProcessList(const QStringList &processes);
    // lblCPU使用率, lbl平均 and lbl平均's colour, as the CPU sampler made them.
    void setCpuTexts(const QString &sample, const QString &average, const RunColor &averageColor);

Q_SIGNALS:
    // The process list is about to open: an answer through setProcessList
    // (in the same call) refreshes its entries.
    void processListRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leaveAverageSecondsBox();

    QComboBox *cmbLowerLimit = nullptr;
    QComboBox *cmbAverageSecs = nullptr;
    QComboBox *cmbProcess = nullptr;
    QLabel *lblCpuUsage = nullptr;
    QLabel *lblAverage = nullptr;
};

}  // namespace zk
