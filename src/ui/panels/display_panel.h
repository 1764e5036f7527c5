// The display options (frDisp), the settings buttons and the command line
// of the current settings.
#pragma once

#include "ui/panels/job_panel.h"

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zk {

class DisplayPanel : public QGroupBox, public JobPanel {
    Q_OBJECT
public:
    DisplayPanel(PanelHost &host, QWidget *parent);

    bool trayTicked() const;
    // The immediate-action box cannot be ticked while the multi schedule is on.
    void setQuickBoxEnabled(bool enabled);
    // cmdCapFolder: the folder dialog "保存先フォルダの指定" for CaptureFolder.
    void chooseCaptureFolder();

Q_SIGNALS:
    void topmostToggled(bool on);
    void trayToggled(bool on);
    void quickButtonsToggled();
    void saveClicked();
    void defaultsClicked();
    // cmdMakeCommandLine: the command line of the settings should be shown.
    void commandLineRequested();
    // cmdCreateShortcut: the shortcut maker should open with that command line.
    void shortcutRequested();
    // lblCommandline: the help of the command line should open.
    void commandLineHelpRequested();

private:
    QCheckBox *chkDsp = nullptr;
    QCheckBox *chkTaskTray = nullptr;
    QCheckBox *chkMinimize = nullptr;
    QCheckBox *chkBeep = nullptr;
    QCheckBox *chkNoDispAlert = nullptr;
    QCheckBox *chkCapture = nullptr;
    QCheckBox *chkDspQuick = nullptr;
    QPushButton *cmdCapFolder = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdDefault = nullptr;
    QPushButton *cmdMakeCommandLine = nullptr;
    QPushButton *cmdCreateShortcut = nullptr;
    QLabel *lblCommandline = nullptr;
};

}  // namespace zk
