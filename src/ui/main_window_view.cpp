// The main window as the engine's view: start, stop and the immediate
// actions, saving, the texts of the run, the lock of the settings, messages
// and notices, and the closing.
#include "ui/main_window.h"

#include "core/crlf.h"
#include "core/job_edit.h"
#include "ui/message_box.h"
#include "ui/multi_frame.h"
#include "ui/panels/monitor_panel.h"
#include "ui/panels/operation_panel.h"
#include "ui/panels/power_page.h"
#include "ui/panels/quick_panel.h"
#include "ui/panels/resume_panel.h"
#include "ui/panels/application_panel.h"
#include "ui/panels/cpu_page.h"
#include "ui/panels/display_panel.h"
#include "ui/panels/run_panel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <utility>

namespace zk {
void MainWindow::quickAction(int operationIndex)
{
    saveSettings();
    ApplyQuickAction(m_state, operationIndex);
    readJobIntoWidgets(m_state.job);
    setTimingMode(0);
    setCaptionForOperation();
    if (m_engine)
        m_engine->startRun();
    else
        Q_EMIT startRequested();
}

void MainWindow::tellSessionLimits()
{
    if (m_loading != 0 || m_state.job.NoAlert)
        return;
    const QStringList notices = m_services.sessionLimitNotices(FeaturesInUse(m_state, false));
    if (notices.isEmpty())
        return;
    PopupRequest popup;
    popup.text = notices.join(kCrLf);
    showMessagePopup(popup, {});
}

void MainWindow::saveSettingsReported()
{
    const UserMessage m = saveSettings() ? SettingsSavedMessage() : SettingsNotSavedMessage();
    showBox(m.title, m.text, QMessageBox::Ok, QMessageBox::Ok, nullptr);
}

void MainWindow::askResetDefaults()
{
    const UserMessage question = ResetDefaultsQuestion();
    showBox(question.title, question.text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, [this](int button) {
        if (button != QMessageBox::Ok)
            return;
        m_services.resetDefaults();
        readJobIntoWidgets(m_state.job);
        placeAsStored();  // the defaults centre the window
    });
}

bool MainWindow::saveSettings()
{
    recordPlacement();
    return m_services.saveSettings();
}

void MainWindow::onStartClicked()
{
    // An empty minutes box reads as 0 minutes, which would act within
    // seconds: the start waits until the box holds a number.
    if (StartWaitsForMinutes(m_state.job)) {
        m_operation->leaveMinutesBox();
        return;
    }
    m_state.cl.AutoStart = false;
    if (m_state.job.MultiEnabled && m_engine) {
        saveSettings();
        m_engine->startMultiRun();
        return;
    }
    if (m_engine)
        m_engine->startRun();
    else
        Q_EMIT startRequested();
    saveSettings();
}

void MainWindow::onStopClicked()
{
    if (m_engine)
        m_engine->stopRun();
    else
        Q_EMIT stopRequested();
}

bool MainWindow::runLocked() const
{
    return m_run->locked();
}

void MainWindow::showBox(const QString &title, const QString &text, int buttons, int defaultButton,
                         std::function<void(int button)> done)
{
    m_messageBox = OpenMessageBox(this, title, text, buttons, defaultButton, std::move(done));
}

void MainWindow::focusField(const QString &objectName)
{
    QWidget *w = objectName.isEmpty() ? nullptr : findChild<QWidget *>(objectName);
    if (!w)
        return;
    // The field may sit in a hidden part of the window: show that part first.
    if (!m_run->extendedTicked() && extendedArea->isAncestorOf(w))
        m_run->setExtended(true);
    m_monitor->showPageFor(w);
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        c->setFocus(Qt::OtherFocusReason);
        if (c->lineEdit())
            c->lineEdit()->selectAll();
    } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
        if (!e->isEnabled())
            return;
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
        p->setFocus(Qt::OtherFocusReason);
        p->selectAll();
    } else {
        w->setFocus(Qt::OtherFocusReason);
    }
}

bool MainWindow::outOfSight() const
{
    return isMinimized() || (m_inTray && isHidden());
}

void MainWindow::showWaitingTexts()
{
    Waiting w = std::exchange(m_waiting, Waiting());
    if (w.remaining)
        setRemainingText(*w.remaining);
    if (w.clock)
        setClockText(*w.clock);
    if (w.caption)
        setCaption(*w.caption);
    if (w.phraseLabel)
        setPhraseLabelVisible(*w.phraseLabel);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    showWaitingTexts();
}

void MainWindow::setRemainingText(const QString &text)
{
    if (outOfSight())
        m_waiting.remaining = text;
    else
        m_run->setRemainingText(text);
}

void MainWindow::setRemainingColor(const RunColor &color)
{
    m_run->setRemainingColor(color);
}

void MainWindow::setRemainingFontSize(int points)
{
    m_run->setRemainingFontSize(points);
}

void MainWindow::setCaption(const QString &caption)
{
    if (m_inTray && isHidden()) {
        m_waiting.caption = caption;
        return;
    }
    m_waiting.caption.reset();
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void MainWindow::setPhraseLabelVisible(bool visible)
{
    if (outOfSight()) {
        m_waiting.phraseLabel = visible;
        return;
    }
    m_run->setPhraseLabelVisible(visible);
}

void MainWindow::setResumeLabel(const QString &text)
{
    m_run->setResumeLabel(text);
}

void MainWindow::setClockText(const QString &text)
{
    if (outOfSight())
        m_waiting.clock = text;
    else
        m_run->setClockText(text);
}

void MainWindow::setLineStatusText(const QString &text)
{
    m_monitor->page<PowerPage>()->setLineStatusText(text);
}

void MainWindow::setProcessList(const QStringList &processes)
{
    m_monitor->page<CpuPage>()->setProcessList(processes);
}

void MainWindow::setCpuTexts(const QString &sample, const QString &average, const RunColor &averageColor)
{
    m_monitor->page<CpuPage>()->setCpuTexts(sample, average, averageColor);
}

void MainWindow::setNoBattery(bool noBattery)
{
    m_monitor->setNoBattery(noBattery);
}

void MainWindow::setRunLocked(bool locked)
{
    m_run->setMultiEnabled(!locked);
    m_quick->setEnabled(!locked);
    m_run->setStartEnabled(!locked);
    frMulti->setEnabled(!locked);
    for (QWidget *w : std::initializer_list<QWidget *>{m_operation, m_monitor, m_resume, m_application, m_display})
        w->setEnabled(!locked);
    m_run->setStopEnabled(locked);
}

void MainWindow::enableMultiAndQuick()
{
    m_run->setMultiEnabled(true);
    m_quick->setEnabled(true);
}

void MainWindow::settingsChanged()
{
    readJobIntoWidgets(m_state.job);
}

void MainWindow::showWindowNormal()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

bool MainWindow::topmost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void MainWindow::applyTopmost(bool on)
{
    if (topmost() == on)
        return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible)
        show();  // changing the flags hides a window
}

void MainWindow::hideWindow()
{
    hide();
}

void MainWindow::showMessage(const QString &title, const QString &text, const QString &field)
{
    showBox(title, text, QMessageBox::Ok, QMessageBox::Ok, [this, field](int) { focusField(field); });
}

void MainWindow::askOkCancel(const QString &title, const QString &text, std::function<void(bool ok)> answer)
{
    showBox(title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel,
            [answer](int button) {
                if (answer)
                    answer(button == QMessageBox::Ok);
            });
}

void MainWindow::showMessagePopup(const PopupRequest &popup, std::function<void()> closed)
{
    if (popup.text.isEmpty()) {
        m_splash->done(QDialog::Rejected);
        if (closed)
            closed();
        return;
    }
    m_splash->present(popup, std::move(closed));
}

void MainWindow::quit(int exitCode)
{
    m_forceUnload = true;
    finishUnload(exitCode);
    hide();
}

void MainWindow::finishUnload(int exitCode)
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    removeTrayIcon();
    if (m_splash)
        m_splash->done(QDialog::Rejected);
    recordPlacement();
    Q_EMIT unloading();
    Q_EMIT programEnds(exitCode);
}

void MainWindow::unload()
{
    m_forceUnload = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_engine && !m_engine->closeRequested(m_forceUnload)) {
        event->ignore();
        return;
    }
    if (!m_engine && runLocked())
        Q_EMIT stopRequested();
    event->accept();
    finishUnload(0);
}

}  // namespace zk
