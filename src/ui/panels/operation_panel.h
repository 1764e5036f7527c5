// The operation and its timing (frOp): the operation list, minutes or clock
// time, and the force option.
#pragma once

#include "ui/panels/job_panel.h"

#include <QGroupBox>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace zk {

class OperationPanel : public QGroupBox, public JobPanel {
    Q_OBJECT
public:
    OperationPanel(PanelHost &host, QWidget *parent);

    void store(JobSettings &job) const override;
    void showOperationTips(const OperationTooltips &tips) override;

    // Shows the list of the record's operations and picks `index`; true when
    // the shown operation changed.
    bool showOperation(int index);
    QString operationText() const;
    std::optional<OperationKind> operation() const;
    void rememberOperation();
    // Minutes (0) or clock time (1), from the record's values for it.
    void setTimingMode(int index);
    // Shows the boxes of the record's timing mode.
    void showTimingBoxes(bool clock);
    void spin(QLineEdit *box, int direction, int high, int low);
    // An empty minutes box is said, and the focus goes back to it.
    void leaveMinutesBox();

Q_SIGNALS:
    // The user picked another operation and the program accepted it.
    void operationAccepted();
    // "休止" was picked but the system does not allow it.
    void hibernationRefused();
    // A timing option was clicked.
    void timingOptionClicked(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onOperationChanged(int index);
    void acceptOperation(int index);
    void refuseHibernation(int index);
    void leaveClockBox(QLineEdit *box, int max);

    int m_rememberedOperation = 0;
    quint64 m_operationQuestion = 0;  // the operation choice a hibernation answer belongs to
    bool m_pendingEmptyMinutes = false;

    QComboBox *cmbOp = nullptr;
    QRadioButton *Opt[2] = {};
    QButtonGroup *optGroup = nullptr;
    QComboBox *cmbTime = nullptr;
    QLineEdit *txtH = nullptr;
    QLineEdit *txtM = nullptr;
    QToolButton *UpD_H[2] = {};
    QToolButton *UpD_M[2] = {};
    QWidget *clockBoxes = nullptr;
    QCheckBox *chkForce = nullptr;
};

}  // namespace zk
