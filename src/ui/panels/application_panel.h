// The application run after waking (fr復帰_2): its box, the browse button,
// and the history drop-down with its list and menu.
#pragma once

#include "ui/history_list.h"
#include "ui/panels/job_panel.h"

#include <QGroupBox>
#include <QPointer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace zk {

class ApplicationPanel : public QGroupBox, public JobPanel {
    Q_OBJECT
public:
    ApplicationPanel(PanelHost &host, QWidget *parent);

    // The box enabled and coloured as the launch box says.
    void applyBoxState();
    void setCommand(const QString &command);
    void browseApplication();
    // The history drop-down (cmdDropButton): a click opens the list or
    // closes the open one; the right button opens its menu.
    void showHistoryList();
    void showHistoryMenu(QPoint at);
    HistoryListWindow *historyList() const { return m_historyList; }
    QMenu *historyMenu() const { return mnuPopUpDropdown; }

Q_SIGNALS:
    // The help label beside the application box was clicked.
    void applicationHelpRequested();

private:
    void buildHistoryMenu();

    QCheckBox *chkLaunchApp = nullptr;
    QLabel *lblExecAp = nullptr;
    QLineEdit *txtExecAp = nullptr;
    QToolButton *cmdBrowse = nullptr;
    QToolButton *cmdDropButton = nullptr;
    QMenu *mnuPopUpDropdown = nullptr;
    QPointer<HistoryListWindow> m_historyList;
    bool m_historyListOpen = false;  // stays raised a moment after the list closed
};

}  // namespace zk
