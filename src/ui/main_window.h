// frmZenkoro: the main window. Its panels show the job record of the AppState
// and write every edit straight back into it (the run engine reads the
// record); the window forwards the start, stop and immediate-action buttons to
// the engine, and is the engine's RunView.
#pragma once

#include "core/multi_edit.h"
#include "run/run_engine.h"
#include "core/run_view.h"
#include "shell/window_place.h"
#include "ui/main_window_services.h"
#include "ui/panels/panel_host.h"
#include "ui/popups.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

class QBoxLayout;
class QMenu;
class QSystemTrayIcon;

namespace zk {

class ApplicationPanel;
class CreateShortcutWindow;
class DisplayPanel;
class JobPanel;
class MonitorPanel;
class MultiScheduleFrame;
class OperationPanel;
class QuickPanel;
class ResumePanel;
class RunPanel;

// The window holds the panels (src/ui/panels) and answers them as their
// PanelHost (main_window.cpp); it is the engine's view and closes
// (main_window_view.cpp), and owns its place, tray icon and input form openers
// (main_window_place.cpp, main_window_tray.cpp, main_window_input.cpp).
class MainWindow : public QMainWindow, public RunView, private PanelHost {
    Q_OBJECT
public:
    MainWindow(AppState &state, const Clock &clock, MainWindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The engine the buttons drive; the window becomes its view.
    void attachEngine(RunEngine *engine);

    // Shows every value of the record (settings loaded, command line parsed).
    void loadFrom(const AppState &state);
    // Writes every control's value into the record (they are also written live).
    void storeTo(AppState &state) const;
    AppState &state() override { return m_state; }

    // The behaviours of the record's editing.
    void setTimingMode(int index);
    void rememberOperation();
    void setCaptionForOperation() override;
    // Moves the window where the record says (centred when negative or off
    // every screen), at its wanted size fitted into its screen's work area.
    void placeAsStored();
    // The power status reported "バッテリなし": the battery kind is disabled.
    void setNoBattery(bool noBattery);
    // Unloads the window: stops the run, removes the icon, ends the program.
    void unload();

    // Tray icon state (the icon itself may not be shown on a desktop without one).
    bool inTray() const { return m_inTray; }
    QString trayToolTip() const;
    QSystemTrayIcon *trayIcon() const { return m_tray; }
    QMenu *trayMenu() const { return m_trayMenu; }
    void trayShowAction();  // "表示" and the double-click
    SplashWindow *splash() const { return m_splash; }
    TrayNoticeWindow *trayNotice() const { return m_trayNotice; }
    QMessageBox *openMessageBox() const { return m_messageBox; }
    bool topmost() const;

    // RunView.
    void setRemainingText(const QString &text) override;
    void setRemainingColor(const RunColor &color) override;
    void setRemainingFontSize(int points) override;
    void setCaption(const QString &caption) override;
    void setPhraseLabelVisible(bool visible) override;
    void setResumeLabel(const QString &text) override;
    void setClockText(const QString &text) override;
    void setLineStatusText(const QString &text) override;
    void setRunLocked(bool locked) override;
    void enableMultiAndQuick() override;
    void settingsChanged() override;
    void showWindowNormal() override;
    void applyTopmost(bool topmost) override;
    void hideWindow() override;
    void minimizeWindow() override;
    void showInTray(const QString &tooltip) override;
    void removeTrayIcon() override;
    void showMessage(const QString &title, const QString &text, const QString &focusField) override;
    void askOkCancel(const QString &title, const QString &text, std::function<void(bool ok)> answer) override;
    void showMessagePopup(const PopupRequest &popup, std::function<void()> closed) override;
    void quit(int exitCode) override;

    // Any box of any window (the multi rows, the weekly table, ...): a
    // double-click on it opens the command input form on it, as `opener`
    // opens it (with or without the parameter help label).
    void addInputFormOpener(QWidget *box, EditFormOpener opener = EditFormOpener::ApplicationCommand);
    void openInputFormOn(QWidget *box, QPoint pointer, EditFormOpener opener) override;
    // The shortcut maker's boxes open the command input form.
    void attachShortcutMaker(CreateShortcutWindow *maker);

Q_SIGNALS:
    // Start and stop when no engine is attached.
    void startRequested();
    void stopRequested();
    // The window is unloading; programEnds follows with the exit code.
    void unloading();
    void programEnds(int exitCode);
    // The help label beside the application box was clicked.
    void applicationHelpRequested();
    // The process list is about to open: an answer through setProcessList
    // (in the same call) refreshes its entries.
    void processListRequested();
    // The button "電源状態": the power status window should open.
    void powerStateRequested();
    // cmdMakeCommandLine: the command line of the settings should be shown.
    void commandLineRequested();
    // cmdCreateShortcut: the shortcut maker should open with that command line.
    void shortcutRequested();
    // lblCommandline: the help of the command line (command_line.txt) should open.
    void commandLineHelpRequested();

public Q_SLOTS:
    // The command input form on `box` (a QLineEdit or QPlainTextEdit) at the
    // screen position `pointer`, with its parameter help label. A box's
    // opener signal (QWidget *box, QPoint pointer) connects here directly.
    void openInputForm(QWidget *box, QPoint pointer);
    // The entries of the process list; the current choice stays selected.
    void setProcessList(const QStringList &processes);
    // lblCPU使用率, lbl平均 and lbl平均's colour, as the CPU sampler made them.
    void setCpuTexts(const QString &sample, const QString &average, const zk::RunColor &averageColor);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // PanelHost.
    const Clock &clock() const override { return m_clock; }
    MainWindowServices &services() override { return m_services; }
    bool loading() const override { return m_loading > 0; }
    bool runLocked() const override;
    QString operationText() const override;
    std::optional<OperationKind> operation() const override;
    void focusField(const QString &objectName) override;
    void showBox(const QString &title, const QString &text, int buttons, int defaultButton,
                 std::function<void(int button)> done) override;
    bool saveSettings() override;  // the window's current place, then the saveSettings hook

    // The panels in the window's order, and what ties them together.
    void buildPanels();
    QBoxLayout *buildContents();  // the layout of the window's scrolling contents
    void connectPanels();
    void buildTray();
    void quickAction(int operationIndex);
    void updateQuickFrame();
    // After a frame was shown or hidden: the window takes its wanted size
    // again, no larger than the work area and moved up to stay inside it.
    void fitToScreenLater();
    void fitToScreen();
    void saveSettingsReported();
    void askResetDefaults();
    void applyOperationEffects(bool clearResume);
    void applyResumeLayout();
    void applyExtended();
    // A ticked feature that the desktop session limits: said once, in a notice.
    void tellSessionLimits();
    void onStartClicked();
    void onStopClicked();
    void onMultiToggled(bool ticked);
    void readJobIntoWidgets(const JobSettings &j);
    void finishUnload(int exitCode);
    // In the tray or minimised: the labels that change every second wait
    // (the caption goes on changing while minimised: the task bar shows it).
    bool outOfSight() const;
    // Puts what waited on screen.
    void showWaitingTexts();
    // The window's place into the record, unless it is hidden or minimised.
    void recordPlacement();

    AppState &m_state;
    const Clock &m_clock;
    MainWindowServices &m_services;
    QPointer<RunEngine> m_engine;  // the engine may go first
    int m_loading = 0;           // > 0 while the record is being shown: handlers do not write back
    bool m_forceUnload = false;
    bool m_unloaded = false;
    bool m_inTray = false;
    QString m_baseCaption;
    QString m_trayToolTip;
    // The texts that arrived while the window was out of sight.
    struct Waiting {
        std::optional<QString> remaining, clock, caption;
        std::optional<bool> phraseLabel;
    } m_waiting;

    OperationPanel *m_operation = nullptr;  // frOp
    MultiScheduleFrame *frMulti = nullptr;  // fr連続
    MultiToggleMemory m_multiMemory;
    RunPanel *m_run = nullptr;
    QuickPanel *m_quick = nullptr;          // FrImmediate
    QWidget *extendedArea = nullptr;
    MonitorPanel *m_monitor = nullptr;      // fr監視
    ResumePanel *m_resume = nullptr;        // fr復帰_1
    ApplicationPanel *m_application = nullptr;  // fr復帰_2
    DisplayPanel *m_display = nullptr;      // frDisp
    std::vector<JobPanel *> m_panels;       // the ones that show job fields, in the order they are shown

    QSystemTrayIcon *m_tray = nullptr;
    QMenu *m_trayMenu = nullptr;
    QPointer<TrayNoticeWindow> m_trayNotice;
    SplashWindow *m_splash = nullptr;
    QPointer<QMessageBox> m_messageBox;
};

}  // namespace zk
