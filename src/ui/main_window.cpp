#include "ui/main_window.h"

#include "core/crlf.h"
#include "core/job_edit.h"
#include "ui/message_box.h"
#include "ui/multi_frame.h"
#include "ui/panels/application_panel.h"
#include "ui/panels/cpu_page.h"
#include "ui/panels/display_panel.h"
#include "ui/panels/monitor_panel.h"
#include "ui/panels/operation_panel.h"
#include "ui/panels/power_page.h"
#include "ui/panels/quick_panel.h"
#include "ui/panels/resume_panel.h"
#include "ui/panels/run_panel.h"
#include "ui/create_shortcut_window.h"
#include "ui/input_form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <utility>

namespace zk {

namespace {

// The window's contents at the size they want; they scroll only where even
// their smallest size does not fit the screen.
class ContentsScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QScrollArea::sizeHint(); }
};

// The contents' layout. It claims no height-for-width (the wrapped help label
// has one): the scroll area would otherwise keep them at their full height.
class ContentsLayout : public QVBoxLayout {
public:
    using QVBoxLayout::QVBoxLayout;
    bool hasHeightForWidth() const override { return false; }
};

}  // namespace

MainWindow::MainWindow(AppState &state, const Clock &clock, MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_clock(clock), m_services(services)
{
    setObjectName(QStringLiteral("frmZenkoro"));
    setAttribute(Qt::WA_QuitOnClose, true);
    buildPanels();
    connectPanels();
    giveAccessibleNames();
    buildTray();
    m_splash = new SplashWindow(this);

    connect(frMulti, &MultiScheduleFrame::applicationInputRequested, this,
            [this](int row) { openInputForm(frMulti->applicationBox(row), QCursor::pos()); });
    // "休止" is offered in the rows only where the system allows it.
    m_services.queryHibernationAllowed(this, [this](bool allowed) {
        frMulti->setOperations(MultiRowOperations(m_state.platform, allowed));
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

void MainWindow::buildPanels()
{
    auto *scroll = new ContentsScroll(this);
    scroll->setObjectName(QStringLiteral("contentsScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    setCentralWidget(scroll);
    auto *central = new QWidget(scroll);
    central->setObjectName(QStringLiteral("centralWidget"));
    scroll->setWidget(central);
    auto *top = new ContentsLayout(central);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(4);

    PanelHost &host = *this;
    top->addWidget(m_operation = new OperationPanel(host, central));
    frMulti = new MultiScheduleFrame(m_state, [this](const QString &path) { return m_services.makeRelativePath(path); },
                                     central);
    frMulti->setVisible(false);
    top->addWidget(frMulti);
    top->addWidget(m_run = new RunPanel(host, central));
    top->addWidget(m_quick = new QuickPanel(m_state, central));

    extendedArea = new QWidget(central);
    extendedArea->setObjectName(QStringLiteral("extendedArea"));
    auto *grid = new QGridLayout(extendedArea);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    m_monitor = new MonitorPanel(host, extendedArea);
    m_resume = new ResumePanel(host, extendedArea);
    m_application = new ApplicationPanel(host, extendedArea);
    m_display = new DisplayPanel(host, extendedArea);
    grid->addWidget(m_monitor, 0, 0);
    grid->addWidget(m_resume, 0, 1, 2, 1);
    grid->addWidget(m_display, 1, 0);
    grid->addWidget(m_application, 2, 0, 1, 2);
    top->addWidget(extendedArea);
    top->addStretch();
    m_panels = {m_operation, m_monitor, m_run, m_resume, m_application, m_display};
}

void MainWindow::connectPanels()
{
    connect(m_operation, &OperationPanel::operationAccepted, this, [this] {
        applyOperationEffects(true);
        setCaptionForOperation();
    });
    connect(m_operation, &OperationPanel::hibernationRefused, m_resume, &ResumePanel::refuseResume);
    connect(m_operation, &OperationPanel::timingOptionClicked, this, [this](int index) {
        if (m_engine)
            m_engine->stopRun();
        else if (runLocked())
            Q_EMIT stopRequested();
        setTimingMode(index);
    });
    connect(m_monitor, &MonitorPanel::watchChanged, this, &MainWindow::tellSessionLimits);
    connect(m_monitor->page<CpuPage>(), &CpuPage::processListRequested, this, &MainWindow::processListRequested);
    connect(m_monitor->page<PowerPage>(), &PowerPage::powerStateRequested, this, &MainWindow::powerStateRequested);
    connect(m_resume, &ResumePanel::layoutChanged, this, &MainWindow::applyResumeLayout);
    connect(m_resume, &ResumePanel::cleared, this, [this] { m_application->setCommand(QString()); });
    connect(m_resume, &ResumePanel::applicationCommandSet, m_application, &ApplicationPanel::setCommand);
    connect(m_application, &ApplicationPanel::applicationHelpRequested, this, &MainWindow::applicationHelpRequested);
    connect(m_display, &DisplayPanel::topmostToggled, this, &MainWindow::applyTopmost);
    connect(m_display, &DisplayPanel::topmostToggled, this, &MainWindow::tellSessionLimits);
    connect(m_display, &DisplayPanel::trayToggled, this, [this](bool on) {
        if (!on)
            removeTrayIcon();
    });
    connect(m_display, &DisplayPanel::quickButtonsToggled, this, &MainWindow::updateQuickFrame);
    connect(m_display, &DisplayPanel::saveClicked, this, &MainWindow::saveSettingsReported);
    connect(m_display, &DisplayPanel::defaultsClicked, this, &MainWindow::askResetDefaults);
    connect(m_display, &DisplayPanel::commandLineRequested, this, &MainWindow::commandLineRequested);
    connect(m_display, &DisplayPanel::shortcutRequested, this, &MainWindow::shortcutRequested);
    connect(m_display, &DisplayPanel::commandLineHelpRequested, this, &MainWindow::commandLineHelpRequested);
    connect(m_quick, &QuickPanel::quickClicked, this, &MainWindow::quickAction);
    connect(m_run, &RunPanel::multiToggled, this, &MainWindow::onMultiToggled);
    connect(m_run, &RunPanel::extendedToggled, this, [this](bool on) {
        if (m_loading == 0 && !on)
            saveSettings();  // unticking saves, silently
        applyExtended();
    });
    connect(m_run, &RunPanel::startClicked, this, &MainWindow::onStartClicked);
    connect(m_run, &RunPanel::stopClicked, this, &MainWindow::onStopClicked);
}

void MainWindow::giveAccessibleNames()
{
    const auto widgets = findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->accessibleName().isEmpty())
            continue;
        QString name;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            name = b->text();
        else if (auto *gb = qobject_cast<QGroupBox *>(w))
            name = gb->title();
        if (name.isEmpty()) {
            // A box is named by its label.
            for (QLabel *l : findChildren<QLabel *>())
                if (l->buddy() == w)
                    name = l->text();
        }
        if (name.isEmpty()) {
            if (auto *l = qobject_cast<QLabel *>(w))
                name = l->text();
        }
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
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

// ---------------------------------------------------------------- record <-> panels

void MainWindow::loadFrom(const AppState &state)
{
    if (&state != &m_state)
        m_state = state;
    readJobIntoWidgets(m_state.job);
}

void MainWindow::readJobIntoWidgets(const JobSettings &source)
{
    const JobSettings j = source;  // the handlers below must not see half-written values
    ++m_loading;
    const bool opChanged = m_operation->showOperation(j.Operation) || m_baseCaption.isEmpty();
    for (JobPanel *p : m_panels)
        p->load(j);
    // The operation decides whether resume can be used at all.
    applyOperationEffects(false);
    if (opChanged)
        setCaptionForOperation();
    m_operation->showTimingBoxes(j.TimingMode != 0);
    --m_loading;
    m_monitor->applyLayout();
    applyResumeLayout();
    m_application->applyBoxState();
    applyExtended();
    updateQuickFrame();
    applyTopmost(j.Topmost != 0);
}

void MainWindow::storeTo(AppState &state) const
{
    JobSettings &j = state.job;
    for (const JobPanel *p : m_panels)
        p->store(j);
    j.MonitorPhrase = m_state.job.MonitorPhrase;
    if (&state != &m_state)
        state.LastProgramFolder = m_state.LastProgramFolder;
}

// ---------------------------------------------------------------- what ties the panels together

void MainWindow::rememberOperation()
{
    m_operation->rememberOperation();
}

QString MainWindow::operationText() const
{
    return m_operation->operationText();
}

void MainWindow::applyOperationEffects(bool clearResume)
{
    const QString op = operationText();
    if (clearResume)
        m_state.job.ResumeEnabled = 0;
    DropUnusableResume(m_state.job, op);
    m_resume->showResumeBox();
    const OperationTooltips t = TooltipsFor(op);
    for (JobPanel *p : m_panels)
        p->showOperationTips(t);
}

void MainWindow::setCaptionForOperation()
{
    m_baseCaption = CaptionFor(operationText());
    setWindowTitle(m_baseCaption);
    if (m_engine)
        m_engine->setBaseCaption(m_baseCaption);
}

void MainWindow::setTimingMode(int index)
{
    ++m_loading;
    m_operation->setTimingMode(index);
    m_run->setPhraseLabelVisible(false);
    --m_loading;
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

void MainWindow::updateQuickFrame()
{
    m_quick->setVisible(QuickButtonsVisible(m_state.job));
}

void MainWindow::applyResumeLayout()
{
    m_resume->applyLayout();
    m_operation->setVisible(!m_resume->resumeOnlyTicked() && !m_run->multiTicked());
}

void MainWindow::applyExtended()
{
    if (extendedArea->isVisibleTo(this) == m_run->extendedTicked())
        return;
    extendedArea->setVisible(m_run->extendedTicked());
    fitToScreenLater();
}

void MainWindow::onMultiToggled(bool ticked)
{
    frMulti->setVisible(ticked);
    m_run->showMultiCaption(ticked);
    applyResumeLayout();
    m_display->setQuickBoxEnabled(!ticked);
    if (m_loading == 0) {
        ApplyMultiToggled(m_state.job, m_multiMemory, ticked);
        m_monitor->setWatching(m_state.job.MonitorEnabled != 0);
        m_resume->showResumeBox();
        applyResumeLayout();
        if (ticked)
            frMulti->selectRow(frMulti->selectedRow());
    }
    updateQuickFrame();
    fitToScreenLater();
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

// ---------------------------------------------------------------- the command input form

void MainWindow::showHistoryList() { m_application->showHistoryList(); }
void MainWindow::showHistoryMenu(QPoint at) { m_application->showHistoryMenu(at); }
HistoryListWindow *MainWindow::historyList() const { return m_application->historyList(); }
QMenu *MainWindow::historyMenu() const { return m_application->historyMenu(); }

void MainWindow::addInputFormOpener(QWidget *box, EditFormOpener opener)
{
    QPointer<QWidget> target(box);
    OpenOnDoubleClick(box, [this, target, opener](QPoint at) {
        if (target)
            openInputFormOn(target, at, opener);
    });
}

void MainWindow::openInputForm(QWidget *box, QPoint pointer)
{
    openInputFormOn(box, pointer, EditFormOpener::ApplicationCommand);
}

void MainWindow::attachShortcutMaker(CreateShortcutWindow *maker)
{
    connect(maker, &CreateShortcutWindow::inputFormRequested, maker,
            [this](QLineEdit *box) { openInputFormOn(box, QCursor::pos(), EditFormOpener::ShortcutMaker); });
}

void MainWindow::openInputFormOn(QWidget *box, QPoint pointer, EditFormOpener opener)
{
    if (!box || !box->isEnabled())
        return;
    InputFormSetup setup;
    setup.edit = &m_state.edit;
    setup.inputMethod = m_services.inputMethod();
    setup.commandHelp = EditFormShowsCommandHelp(opener);
    setup.openCommandHelp = [this] { Q_EMIT applicationHelpRequested(); };
    InputForm::open(box, setup, pointer);
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

// ---------------------------------------------------------------- the window's place

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

}  // namespace zk
