// The main window's multi schedule and resume list: the multi box, the
// weekly resume list window and the list's values in the resume boxes.
#include "ui/main_window.h"
#include "core/crlf.h"
#include "core/job_edit.h"
#include "run/run_engine.h"
#include "core/text.h"
#include "resume/weekly_resume.h"
#include "ui/message_box.h"
#include "ui/popups.h"
#include "ui/multi_frame.h"
#include "ui/ticker_label.h"
#include "ui/week_window.h"
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <QWindow>
#include <utility>

namespace zk {

void MainWindow::onMultiToggled(bool ticked)
{
    frMulti->setVisible(ticked);
    cmdStart->setText(StartButtonCaption(ticked));
    cmdStart->setAccessibleName(cmdStart->text());
    applyResumeLayout();
    chkDspQuick->setEnabled(!ticked);
    if (m_loading == 0) {
        ApplyMultiToggled(m_state.job, m_multiMemory, ticked);
        chkMonitor->setChecked(m_state.job.MonitorEnabled != 0);
        showResumeBox();
        applyResumeLayout();
        if (ticked)
            frMulti->selectRow(frMulti->selectedRow());
    }
    updateQuickFrame();
    fitToScreenLater();
}

void MainWindow::setDefaultResume()
{
    const QString dropped = ApplyWeeklyResumeList(m_state, m_clock);
    JobSettings shown = m_state.job;
    ShowResumeInBoxes(shown, m_state.cl);
    for (int i = 0; i < 5; ++i)
        txtResume[size_t(i)]->setText(shown.ResumeDateParts[size_t(i)]);
    txtExecAp->setText(shown.AppCommand);
    if (!dropped.isEmpty())
        showMessage(QStringLiteral("復帰リスト"), dropped, QString());
}

void MainWindow::openWeekList()
{
    auto *week = new WeekWindow(m_state.WeeklyResumeTable, m_state.job.ResumeWeekdays, m_state.LastProgramFolder,
                                [this](const QString &path) { return m_services.makeRelativePath(path); }, this);
    week->setAttribute(Qt::WA_DeleteOnClose);
    week->setModal(true);
    connect(week, &WeekWindow::applicationInputRequested, week,
            [this, week](int row) { openInputForm(week->applicationBox(row), QCursor::pos()); });
    connect(week, &QDialog::finished, this, [this, week](int result) {
        if (result == QDialog::Accepted)
            m_state.WeeklyResumeTable = week->table();
        m_state.LastProgramFolder = week->lastProgramFolder();
        saveSettings();
    });
    week->open();
}

}  // namespace zk
