#include "ui/main_window.h"

#include "core/job_edit.h"
#include "ui/accessible_names.h"
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

#include <QCursor>
#include <QLineEdit>
#include <QGridLayout>

namespace zk {

MainWindow::MainWindow(AppState &state, const Clock &clock, MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_clock(clock), m_services(services)
{
    setObjectName(QStringLiteral("frmZenkoro"));
    setAttribute(Qt::WA_QuitOnClose, true);
    buildPanels();
    connectPanels();
    NameByCaptions(this);
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

void MainWindow::buildPanels()
{
    QBoxLayout *top = buildContents();
    QWidget *central = top->parentWidget();
    PanelHost &host = *this;
    top->addWidget(m_operation = new OperationPanel(host, central));
    frMulti = new MultiScheduleFrame(m_state, [this](const QString &path) { return m_services.makeRelativePath(path); },
                                     central);
    frMulti->setVisible(false);
    top->addWidget(frMulti);
    top->addWidget(m_run = new RunPanel(host, central));
    top->addWidget(m_quick = new QuickPanel(central));

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

std::optional<OperationKind> MainWindow::operation() const
{
    return m_operation->operation();
}

void MainWindow::applyOperationEffects(bool clearResume)
{
    const QString op = operationText();
    if (clearResume)
        m_state.job.ResumeEnabled = 0;
    DropUnusableResume(m_state.job, operation());
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

}  // namespace zk
