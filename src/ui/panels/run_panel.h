// The run area: the remaining time, the phrase alert, the clock and the
// resume time, the start and stop buttons, and the multi and extended boxes.
#pragma once

#include "core/run_view.h"
#include "ui/panels/job_panel.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zk {

class TickerLabel;

class RunPanel : public QWidget, public JobPanel {
    Q_OBJECT
public:
    RunPanel(PanelHost &host, QWidget *parent);

    void showOperationTips(const OperationTooltips &tips) override;

    void setRemainingText(const QString &text);
    void setRemainingColor(const RunColor &color);
    void setRemainingFontSize(int points);
    void setPhraseLabelVisible(bool visible);
    void setResumeLabel(const QString &text);
    void setClockText(const QString &text);
    // The start button's caption for a multi schedule or a single run.
    void showMultiCaption(bool multi);
    // While a run holds the settings: start and the multi box disabled, stop enabled.
    void setMultiEnabled(bool enabled);
    void setStartEnabled(bool enabled);
    void setStopEnabled(bool enabled);
    bool locked() const;
    bool multiTicked() const;
    bool extendedTicked() const;
    void setExtended(bool on);

Q_SIGNALS:
    void startClicked();
    void stopClicked();
    void multiToggled(bool ticked);
    void extendedToggled(bool on);

private:
    TickerLabel *lblTime = nullptr;
    QLabel *lblMsg = nullptr;
    TickerLabel *lblNow = nullptr;
    QLabel *lblResumeAt = nullptr;
    QPushButton *cmdStart = nullptr;
    QPushButton *cmdStop = nullptr;
    QCheckBox *ChkMulti = nullptr;
    QCheckBox *chkExtended = nullptr;
};

}  // namespace zk
