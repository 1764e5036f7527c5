// The resume (fr復帰_1): whether and when the machine wakes, on which
// weekdays, the weekly resume list, and what it does after waking.
#pragma once

#include "ui/panels/job_panel.h"

#include <QGroupBox>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace zk {

class ResumePanel : public QGroupBox, public JobPanel {
    Q_OBJECT
public:
    ResumePanel(PanelHost &host, QWidget *parent);

    void showOperationTips(const OperationTooltips &tips) override;

    // The resume box, enabled and ticked as the record and the operation say.
    void showResumeBox();
    // "休止" was refused: resume cannot be used with it.
    void refuseResume();
    // Its buttons and the page of the resume time, as the boxes say.
    void applyLayout();
    bool resumeOnlyTicked() const;
    void spinResume(int box, int direction);

Q_SIGNALS:
    // A box that changes the window's layout was ticked or unticked.
    void layoutChanged();
    // "クリア" cleared the resume time; the application box is cleared too.
    void cleared();
    // The resume list set the application command for today.
    void applicationCommandSet(const QString &command);

private:
    void onResumeClicked();
    void onResumeOnlyClicked();
    void setDefaultResume();  // "リスト値セット"
    void openWeekList();      // "復帰リスト"

    QCheckBox *chkResume = nullptr;
    QCheckBox *chkResumeOnly = nullptr;
    QCheckBox *chkResumeAtClock = nullptr;
    QStackedWidget *resumePages = nullptr;
    std::array<QLineEdit *, 5> txtResume{};
    QToolButton *UpD_r[5][2] = {};
    QComboBox *cmbResumeMinutes = nullptr;
    QPushButton *cmdClear = nullptr;
    QPushButton *cmdSetDefaultResume = nullptr;
    QPushButton *cmdWeekList = nullptr;  // cmd個別曜日設定
    QGroupBox *frWeek = nullptr;
    std::array<QCheckBox *, 8> chkWeek{};  // [1] = Sunday .. [7] = Saturday
    QCheckBox *chkResumeKeep = nullptr;
    QCheckBox *chkResumeMonitor = nullptr;
};

}  // namespace zk
