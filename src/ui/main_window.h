// frmZenkoro: the main window. It shows the job record of the AppState and
// writes every edit straight back into it (the run engine reads the record),
// forwards the start, stop and immediate-action buttons to the engine, and is
// the engine's RunView.
#pragma once

#include "core/clock.h"
#include "core/job.h"
#include "core/multi_edit.h"
#include "run/run_engine.h"
#include "core/run_view.h"
#include "input/edit_form.h"
#include "shell/window_place.h"
#include "ui/history_list.h"
#include "ui/job_bindings.h"
#include "ui/main_window_services.h"
#include "ui/popups.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QSystemTrayIcon;
class QToolButton;

namespace zk {

class CreateShortcutWindow;
class TickerLabel;
class MultiScheduleFrame;

// Spinner buttons held down: the first repeat, then every next one.
inline constexpr int kSpinFirstRepeatMs = 500;
inline constexpr int kSpinRepeatMs = 100;


class MainWindow : public QMainWindow, public RunView {
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
    AppState &state() { return m_state; }

    // The behaviours of the record's editing.
    void setTimingMode(int index);
    void rememberOperation();
    void setCaptionForOperation();
    void quickAction(int operationIndex);
    void spin(QLineEdit *box, int direction, int high, int low);
    void spinResume(int box, int direction);
    void browseApplication();
    // cmdCapFolder: the folder dialog "保存先フォルダの指定" for CaptureFolder.
    void chooseCaptureFolder();
    void updateQuickFrame();
    // Moves the window where the record says (centred when negative or off
    // every screen), at its wanted size fitted into its screen's work area.
    void placeAsStored();
    // After a frame was shown or hidden: the window takes its wanted size
    // again, no larger than the work area and moved up to stay inside it.
    void fitToScreenLater();
    void fitToScreen();
    // The save button and the defaults button.
    void saveSettingsReported();
    void askResetDefaults();
    // The power status reported "バッテリなし" at load: the battery kind is disabled.
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

    // The history drop-down of the application box (cmdDropButton): a click
    // opens the list or closes the open one; the right button opens its menu.
    void showHistoryList();
    void showHistoryMenu(QPoint at);
    HistoryListWindow *historyList() const { return m_historyList; }
    QMenu *historyMenu() const { return mnuPopUpDropdown; }
    // Any box of any window (the multi rows, the weekly table, ...): a
    // double-click on it opens the command input form on it, as `opener`
    // opens it (with or without the parameter help label).
    void addInputFormOpener(QWidget *box, EditFormOpener opener = EditFormOpener::ApplicationCommand);
    void openInputFormOn(QWidget *box, QPoint pointer, EditFormOpener opener);
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
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // main_window_layout.cpp: the controls.
    void buildUi();
    void buildRunArea(QWidget *host);
    QGroupBox *buildOperationFrame();
    QGroupBox *buildMonitorFrame();
    QGroupBox *buildResumeFrame();
    QGroupBox *buildApplicationFrame();
    QGroupBox *buildDisplayFrame();
    QGroupBox *buildQuickFrame();
    void giveAccessibleNames();
    // main_window_input.cpp: the history drop-down, its menu and the input form's openers.
    void connectInputControls();
    // main_window_tray.cpp: the tray icon and its menu (also showInTray,
    // removeTrayIcon, trayShowAction, minimizeWindow, changeEvent).
    void buildTray();
    // main_window_wiring.cpp: the table of controls and job fields, the
    // handlers, loadFrom, storeTo and the number boxes' key filter.
    void bindJobFields();
    void connectControls();

    void onOperationChanged(int index);
    void acceptOperation(int index);
    void refuseHibernation(int index);
    void applyOperationEffects(bool clearResume);
    void onTimingOptionClicked(int index);
    void onResumeClicked();
    void onResumeOnlyClicked();
    void showResumeBox();  // enabled and ticked as the record and the operation say
    void applyResumeLayout();
    void applyApplicationBoxState();
    void applyMonitorLayout();
    // A ticked feature that the desktop session limits: said once, in a notice.
    void tellSessionLimits();
    void applyExtended();
    void onStartClicked();
    void onStopClicked();
    // The multi schedule and the weekly resume list.
    void onMultiToggled(bool ticked);
    void setDefaultResume();  // "リスト値セット"
    void openWeekList();      // "復帰リスト"

    void leaveClockBox(QLineEdit *box, int max);
    void leaveAverageSecondsBox();
    void leaveMinutesBox();
    void focusField(const QString &objectName);
    void showBox(const QString &title, const QString &text, int buttons, int defaultButton,
                 std::function<void(int button)> done);
    void writeResumeParts();
    void readJobIntoWidgets(const JobSettings &j);
    bool runLocked() const;
    void finishUnload(int exitCode);
    // In the tray or minimised: the labels that change every second wait
    // (the caption goes on changing while minimised: the task bar shows it).
    bool outOfSight() const;
    // Puts what waited on screen.
    void showWaitingTexts();
    // The window's place into the record, unless it is hidden or minimised.
    void recordPlacement();
    // Every save of the window: its current place, then the saveSettings hook.
    bool saveSettings();

    AppState &m_state;
    const Clock &m_clock;
    MainWindowServices &m_services;
    QPointer<RunEngine> m_engine;  // the engine may go first
    int m_loading = 0;           // > 0 while the record is being shown: handlers do not write back
    int m_rememberedOperation = 0;
    quint64 m_operationQuestion = 0;  // the operation choice a hibernation answer belongs to
    bool m_forceUnload = false;
    bool m_unloaded = false;
    bool m_noBattery = false;
    bool m_inTray = false;
    bool m_pendingEmptyMinutes = false;
    QString m_baseCaption;
    QString m_trayToolTip;
    QString m_shownPhrase;       // the phrase as loaded, to keep its line breaks when unchanged
    // The texts that arrived while the window was out of sight.
    struct Waiting {
        std::optional<QString> remaining, clock, caption;
        std::optional<bool> phraseLabel;
    } m_waiting;

    // Controls (objectNames as the program has always named them).
    QGroupBox *frOp = nullptr;
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

    QGroupBox *frMonitor = nullptr;
    QCheckBox *chkMonitor = nullptr;
    QRadioButton *optMonitorKind[3] = {};
    QButtonGroup *monitorKindGroup = nullptr;
    QStackedWidget *monitorPages = nullptr;
    QLabel *lblPhrase = nullptr;
    QPlainTextEdit *txtPhrase = nullptr;
    QRadioButton *OptMsg[2] = {};
    QButtonGroup *phraseEventGroup = nullptr;
    QCheckBox *chkIeMonitor = nullptr;
    QComboBox *cmbLowerLimit = nullptr;
    QComboBox *cmbAverageSecs = nullptr;
    QComboBox *cmbProcess = nullptr;
    QLabel *lblCpuUsage = nullptr;
    QLabel *lblAverage = nullptr;
    QComboBox *cmbTimePower = nullptr;
    QLabel *lblStatus = nullptr;
    QPushButton *cmdDspPowerState = nullptr;

    QGroupBox *frResume1 = nullptr;
    QCheckBox *chkResume = nullptr;
    QCheckBox *chkResumeOnly = nullptr;
    QCheckBox *chkResumeAtClock = nullptr;
    QStackedWidget *resumePages = nullptr;
    std::array<QLineEdit *, 5> txtResume{};
    std::array<std::array<QToolButton *, 2>, 5> UpD_r{};
    QComboBox *cmbResumeMinutes = nullptr;
    QPushButton *cmdClear = nullptr;
    QPushButton *cmdSetDefaultResume = nullptr;
    QPushButton *cmdWeekList = nullptr;  // cmd個別曜日設定
    QGroupBox *frWeek = nullptr;
    std::array<QCheckBox *, 8> chkWeek{};  // [1] = Sunday .. [7] = Saturday
    QCheckBox *chkResumeKeep = nullptr;
    QCheckBox *chkResumeMonitor = nullptr;

    QGroupBox *frResume2 = nullptr;
    QCheckBox *chkLaunchApp = nullptr;
    QLabel *lblExecAp = nullptr;
    QLineEdit *txtExecAp = nullptr;
    QToolButton *cmdBrowse = nullptr;
    QToolButton *cmdDropButton = nullptr;
    QMenu *mnuPopUpDropdown = nullptr;
    QPointer<HistoryListWindow> m_historyList;
    bool m_historyListOpen = false;  // stays raised a moment after the list closed

    QGroupBox *frDisp = nullptr;
    QCheckBox *chkDsp = nullptr;
    QCheckBox *chkTaskTray = nullptr;
    QCheckBox *chkMinimize = nullptr;
    QCheckBox *chkBeep = nullptr;
    QCheckBox *chkNoDispAlert = nullptr;
    QCheckBox *chkCapture = nullptr;
    QCheckBox *chkDspQuick = nullptr;
    QPushButton *cmdCapFolder = nullptr;
    QPushButton *cmdMakeCommandLine = nullptr;
    QPushButton *cmdCreateShortcut = nullptr;
    QLabel *lblCommandline = nullptr;

    QGroupBox *FrImmediate = nullptr;
    QPushButton *cmdQuick[5] = {};

    TickerLabel *lblTime = nullptr;
    QLabel *lblMsg = nullptr;
    TickerLabel *lblNow = nullptr;
    QLabel *lblResumeAt = nullptr;
    QPushButton *cmdStart = nullptr;
    QPushButton *cmdStop = nullptr;
    QCheckBox *ChkMulti = nullptr;
    MultiScheduleFrame *frMulti = nullptr;  // fr連続
    MultiToggleMemory m_multiMemory;
    QCheckBox *chkExtended = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdDefault = nullptr;
    QWidget *extendedArea = nullptr;

    QSystemTrayIcon *m_tray = nullptr;
    QMenu *m_trayMenu = nullptr;
    QPointer<TrayNoticeWindow> m_trayNotice;
    SplashWindow *m_splash = nullptr;
    QPointer<QMessageBox> m_messageBox;
    JobBindings m_bindings;  // the controls that show job fields
};

}  // namespace zk
