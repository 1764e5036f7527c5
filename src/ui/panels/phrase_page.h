// The monitor page of the screen text (frPhrase): the phrase, and whether
// its appearing or its disappearing counts.
#pragma once

#include "ui/panels/monitor_page.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace zk {

class PhrasePage : public MonitorPage {
    Q_OBJECT
public:
    PhrasePage(PanelHost &host, QWidget *parent);
    void load(const JobSettings &job) override;
    void showOperationTips(const OperationTooltips &tips) override;
    bool showsForField(const QWidget *field) const override;

private:
    // A double-click on the phrase box opens the command input form.
    void connectInputForm();

    QLabel *lblPhrase = nullptr;
    QPlainTextEdit *txtPhrase = nullptr;
    QRadioButton *OptMsg[2] = {};
    QButtonGroup *phraseEventGroup = nullptr;
    QCheckBox *chkIeMonitor = nullptr;
};

}  // namespace zk
