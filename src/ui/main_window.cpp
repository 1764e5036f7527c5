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
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <QWindow>
#include <utility>

namespace zk {

MainWindow::MainWindow(AppState &state, const Clock &clock, MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_clock(clock), m_services(services)
{
    setObjectName(QStringLiteral("frmZenkoro"));
    setAttribute(Qt::WA_QuitOnClose, true);
    buildUi();
    connectControls();
    connectInputControls();
    giveAccessibleNames();

    buildTray();

    m_splash = new SplashWindow(this);

    connect(frMulti, &MultiScheduleFrame::applicationInputRequested, this,
            [this](int row) { openInputForm(frMulti->applicationBox(row), QCursor::pos()); });
    // "休止" is offered in the rows only where the system allows it.
    m_services.queryHibernationAllowed(this, [this](bool allowed) {
        frMulti->setOperations(MultiRowOperations(allowed));
    });

    loadFrom(m_state);
    setRemainingFontSize(kRemainingFontNormal);
    setRemainingColor(kColorCountdown);
    setRunLocked(false);
}

MainWindow::~MainWindow()
{
    if (m_engine)
        m_engine->setView(nullptr);
}

void MainWindow::attachEngine(RunEngine *engine)
{
    m_engine = engine;
    if (m_engine) {
        m_engine->setView(this);
        m_engine->setBaseCaption(m_baseCaption);
        connect(&m_engine->multiRun(), &MultiRun::stepStarted, this,
                [this](const MultiStep &step) { frMulti->showRunningRow(step.row); });
    }
}

// ---------------------------------------------------------------- behaviours

void MainWindow::rememberOperation()
{
    m_rememberedOperation = cmbOp->currentIndex();
}

void MainWindow::onOperationChanged(int index)
{
    ++m_operationQuestion;  // an answer about an earlier choice no longer counts
    if (m_loading > 0 || index < 0)
        return;
    if (OperationFromText(cmbOp->itemText(index)) == OperationKind::Hibernate) {
        // The system answers from the event loop; the window stays alive meanwhile.
        const quint64 question = m_operationQuestion;
        m_services.queryHibernationAllowed(this, [this, index, question](bool allowed) {
            if (question != m_operationQuestion)
                return;
            if (allowed)
                acceptOperation(index);
            else
                refuseHibernation(index);
        });
        return;
    }
    acceptOperation(index);
}

void MainWindow::refuseHibernation(int index)
{
    chkResume->setEnabled(false);
    chkResume->setChecked(false);
    const UserMessage refused = HibernationDisabledMessage();
    showBox(refused.title, refused.text, QMessageBox::Ok, QMessageBox::Ok, nullptr);
    cmbOp->setCurrentIndex(OperationAfterRefusal(m_rememberedOperation, index, cmbOp->count()));  // runs the change handler again for the restored operation
}

void MainWindow::acceptOperation(int index)
{
    m_state.job.Operation = index;
    applyOperationEffects(true);
    setCaptionForOperation();
    m_rememberedOperation = index;
}

void MainWindow::applyOperationEffects(bool clearResume)
{
    const QString op = cmbOp->currentText();
    if (clearResume)
        m_state.job.ResumeEnabled = 0;
    DropUnusableResume(m_state.job, OperationFromText(op));
    showResumeBox();

    const OperationTooltips t = TooltipsFor(op);
    Opt[0]->setToolTip(t.minutesOption);
    Opt[1]->setToolTip(t.clockOption);
    cmdStart->setToolTip(t.startButton);
    cmdStop->setToolTip(t.stopButton);
    cmbTime->setToolTip(t.minutesBox);
    chkMonitor->setToolTip(t.monitorBox);
    lblPhrase->setToolTip(t.phraseLabel);
    chkResumeOnly->setToolTip(t.resumeOnlyBox);
}

void MainWindow::setCaptionForOperation()
{
    m_baseCaption = CaptionFor(cmbOp->currentText());
    setWindowTitle(m_baseCaption);
    if (m_engine)
        m_engine->setBaseCaption(m_baseCaption);
}

void MainWindow::setTimingMode(int index)
{
    ++m_loading;
    SetTimingMode(m_state.job, index, m_clock.now());
    Opt[m_state.job.TimingMode]->setChecked(true);
    txtH->setText(m_state.job.ClockHour);
    txtM->setText(m_state.job.ClockMinute);
    const bool clock = m_state.job.TimingMode == 1;
    clockBoxes->setVisible(clock);
    cmbTime->setVisible(!clock);
    lblMsg->setVisible(false);
    --m_loading;
}

void MainWindow::onTimingOptionClicked(int index)
{
    if (m_engine)
        m_engine->stopRun();
    else if (runLocked())
        Q_EMIT stopRequested();
    setTimingMode(index);
}

void MainWindow::spin(QLineEdit *box, int direction, int high, int low)
{
    box->setText(SpinValue(box->text(), direction, high, low));
}

void MainWindow::spinResume(int box, int direction)
{
    std::array<QString, 5> parts;
    for (int i = 0; i < 5; ++i)
        parts[i] = txtResume[i]->text();
    if (!SpinResumeDate(parts, box, direction, m_clock.now()))
        return;
    for (int i = 0; i < 5; ++i)
        if (txtResume[i]->text() != parts[i])
            txtResume[i]->setText(parts[i]);
}

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

void MainWindow::recordPlacement()
{
    if (isVisible() && !isMinimized()) {
        // Window position in twips, as the settings file keeps it.
        m_state.WindowLeft = x() * kTwipsPerPixel;
        m_state.WindowTop = y() * kTwipsPerPixel;
    }
}

void MainWindow::placeAsStored()
{
    QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize wanted = sizeHint().expandedTo(minimumSizeHint());
    const QRect fitted = FitInArea(PlaceForStored(m_state.WindowLeft, m_state.WindowTop, wanted, area,
                                                  [](QPoint p) { return QGuiApplication::screenAt(p) != nullptr; }),
                                   wanted, area);
    resize(fitted.size());
    move(fitted.topLeft());
}

void MainWindow::fitToScreenLater()
{
    if (isVisible())
        QTimer::singleShot(0, this, &MainWindow::fitToScreen);
}

void MainWindow::fitToScreen()
{
    QScreen *shown = screen();
    if (!shown || isMaximized() || isFullScreen() || isMinimized())
        return;
    // The contents' new wanted size reaches the window through its scroll area.
    static_cast<QScrollArea *>(centralWidget())->widget()->layout()->activate();
    centralWidget()->updateGeometry();
    layout()->activate();
    // The frame the window manager adds counts against the work area too.
    const QSize frame = frameGeometry().size() - size();
    const QRect fitted = FitInArea(frameGeometry().topLeft(), sizeHint() + frame, shown->availableGeometry());
    resize(fitted.size() - frame);
    move(fitted.topLeft());
}

void MainWindow::updateQuickFrame()
{
    FrImmediate->setVisible(QuickButtonsVisible(m_state.job));
}

void MainWindow::onResumeClicked()
{
    if (!chkResume->isEnabled())
        chkResume->setChecked(false);
    applyResumeLayout();
}

void MainWindow::onResumeOnlyClicked()
{
    SetResumeOnly(m_state.job, chkResumeOnly->isChecked(), OperationFromText(cmbOp->currentText()));
    showResumeBox();
    applyResumeLayout();
}

void MainWindow::showResumeBox()
{
    const JobSettings &j = m_state.job;
    chkResume->setEnabled(ResumeUsable(OperationFromText(cmbOp->currentText()), j.ResumeOnly != 0));
    chkResume->setChecked(j.ResumeEnabled != 0);
}

void MainWindow::applyResumeLayout()
{
    const bool resume = chkResume->isChecked();
    cmdClear->setVisible(resume);
    cmdSetDefaultResume->setVisible(resume);
    frOp->setVisible(!chkResumeOnly->isChecked() && !ChkMulti->isChecked());
    resumePages->setCurrentIndex(chkResumeAtClock->isChecked() ? 0 : 1);
}

void MainWindow::applyApplicationBoxState()
{
    const bool on = chkLaunchApp->isChecked();
    txtExecAp->setEnabled(on);
    cmdBrowse->setEnabled(on);
    cmdDropButton->setEnabled(on);
    txtExecAp->setStyleSheet(on ? QStringLiteral("QLineEdit { background: #FFFFFF; }")
                                : QStringLiteral("QLineEdit { background: #E0E0E0; }"));
}

void MainWindow::applyMonitorLayout()
{
    const int kind = std::max(0, monitorKindGroup->checkedId());
    monitorPages->setCurrentIndex(kind);
    const bool on = chkMonitor->isChecked();
    for (QRadioButton *b : optMonitorKind)
        b->setEnabled(on);
    monitorPages->setEnabled(on);
    // Without a battery the battery kind has nothing to watch.
    if (m_noBattery)
        optMonitorKind[2]->setEnabled(false);
}

void MainWindow::applyExtended()
{
    if (extendedArea->isVisibleTo(this) == chkExtended->isChecked())
        return;
    extendedArea->setVisible(chkExtended->isChecked());
    fitToScreenLater();
}

void MainWindow::browseApplication()
{
    const QString start = BrowseStartFolder(txtExecAp->text(), m_state.LastProgramFolder, QDir::currentPath(),
                                            [](const QString &folder) { return QDir(folder).exists(); });
    auto *dlg = new QFileDialog(this, QStringLiteral("起動ファイルの選択"), start,
                                QStringLiteral("すべてのファイル(*.*) (*)"));
    dlg->setObjectName(QStringLiteral("dlgBrowseApplication"));
    dlg->setFileMode(QFileDialog::ExistingFile);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &file) {
        if (file.isEmpty())
            return;
        m_state.LastProgramFolder = QFileInfo(file).absolutePath();
        QString path = m_services.makeRelativePath(file);
        // A path with blanks is quoted so that its program part stays whole.
        path = QuoteIfSpaced(path);
        txtExecAp->setText(path);
    });
    dlg->open();
}

void MainWindow::chooseCaptureFolder()
{
    auto *dlg = new QFileDialog(this, QStringLiteral("保存先フォルダの指定"), m_state.CaptureFolder);
    dlg->setObjectName(QStringLiteral("dlgCaptureFolder"));
    dlg->setFileMode(QFileDialog::Directory);
    dlg->setOption(QFileDialog::ShowDirsOnly);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QFileDialog::fileSelected, this, [this](const QString &folder) {
        if (!folder.isEmpty())  // cancelling keeps the folder
            m_state.CaptureFolder = folder;
    });
    dlg->open();
}

void MainWindow::onStartClicked()
{
    // An empty minutes box reads as 0 minutes, which would act within
    // seconds: the start waits until the box holds a number.
    if (StartWaitsForMinutes(m_state.job)) {
        leaveMinutesBox();
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
    return !cmdStart->isEnabled();
}

void MainWindow::leaveClockBox(QLineEdit *box, int max)
{
    const QString fixed = CorrectClockBox(box->text(), max);
    if (fixed != box->text())
        box->setText(fixed);
}

void MainWindow::leaveMinutesBox()
{
    if (cmbTime->isHidden() || !cmbTime->currentText().trimmed().isEmpty() || m_pendingEmptyMinutes)
        return;
    m_pendingEmptyMinutes = true;
    const UserMessage empty = EmptyMinutesMessage();
    showBox(empty.title, empty.text, QMessageBox::Ok, QMessageBox::Ok, [this](int) {
                m_pendingEmptyMinutes = false;
                focusField(QStringLiteral("cmbTime"));
            });
}

void MainWindow::showBox(const QString &title, const QString &text, int buttons, int defaultButton,
                         std::function<void(int button)> done)
{
    m_messageBox = OpenMessageBox(this, title, text, buttons, defaultButton, std::move(done));
}

void MainWindow::focusField(const QString &objectName)
{
    if (objectName.isEmpty())
        return;
    QWidget *w = nullptr;
    w = findChild<QWidget *>(objectName);
    if (!w)
        return;
    // The field may sit in a hidden part of the window: show that part first.
    if (!chkExtended->isChecked() && extendedArea->isAncestorOf(w))
        chkExtended->setChecked(true);
    if (w == txtPhrase)
        monitorPages->setCurrentIndex(0);
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

// ---------------------------------------------------------------- RunView

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
        lblTime->setText(text);
}

void MainWindow::setRemainingColor(const RunColor &color)
{
    // A palette, not a style sheet: the label is painted every second.
    QPalette p = lblTime->palette();
    p.setColor(QPalette::WindowText, QColor(color.r, color.g, color.b));
    lblTime->setPalette(p);
}

void MainWindow::setRemainingFontSize(int points)
{
    QFont f = lblTime->font();
    if (f.pointSize() == points)
        return;
    f.setPointSize(points);
    lblTime->setFont(f);
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
    lblMsg->setVisible(visible);
}

void MainWindow::setResumeLabel(const QString &text)
{
    lblResumeAt->setText(text);
}

void MainWindow::setClockText(const QString &text)
{
    if (outOfSight())
        m_waiting.clock = text;
    else
        lblNow->setText(text);
}

void MainWindow::setLineStatusText(const QString &text)
{
    if (lblStatus->text() != text)
        lblStatus->setText(text);
}

void MainWindow::setProcessList(const QStringList &processes)
{
    // The choice stays as it is, even when its process is not in the list.
    const QString current = cmbProcess->currentText();
    ++m_loading;
    cmbProcess->clear();
    cmbProcess->addItem(QString());  // none: the whole machine
    cmbProcess->addItems(processes);
    if (cmbProcess->findText(current) < 0)
        cmbProcess->addItem(current);
    cmbProcess->setCurrentIndex(cmbProcess->findText(current));
    --m_loading;
}

void MainWindow::setCpuTexts(const QString &sample, const QString &average, const RunColor &averageColor)
{
    lblCpuUsage->setText(sample);
    lblAverage->setText(average);
    QPalette p = lblAverage->palette();
    p.setColor(QPalette::WindowText, QColor(averageColor.r, averageColor.g, averageColor.b));
    lblAverage->setPalette(p);
}

void MainWindow::setNoBattery(bool noBattery)
{
    m_noBattery = noBattery;
    applyMonitorLayout();
}

void MainWindow::setRunLocked(bool locked)
{
    ChkMulti->setEnabled(!locked);
    FrImmediate->setEnabled(!locked);
    cmdStart->setEnabled(!locked);
    frMulti->setEnabled(!locked);
    for (QWidget *w : {static_cast<QWidget *>(frOp), static_cast<QWidget *>(frMonitor),
                       static_cast<QWidget *>(frResume1), static_cast<QWidget *>(frResume2),
                       static_cast<QWidget *>(frDisp)})
        w->setEnabled(!locked);
    cmdStop->setEnabled(locked);
}

void MainWindow::enableMultiAndQuick()
{
    ChkMulti->setEnabled(true);
    FrImmediate->setEnabled(true);
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
