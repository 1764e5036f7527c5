// What the run engine asks of a view of the main window. The window of the
// desktop and the headless mode both implement it; the engine never touches
// a widget. User actions come back as calls on RunEngine.
#pragma once

#include <QString>
#include <functional>

namespace zk {

// A foreground colour as a red, green, blue triple.
struct RunColor {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const RunColor &) const = default;
};

inline constexpr RunColor kColorCountdown{128, 128, 255};  // normal countdown (light blue)
inline constexpr RunColor kColorLastMinute{255, 128, 0};   // under one minute (orange)
inline constexpr RunColor kColorWarning{255, 0, 0};        // warning phase (red)

inline constexpr int kRemainingFontNormal = 36;  // points of lblTime while counting
inline constexpr int kRemainingFontNotice = 18;  // points of lblTime for the retry notice

// A notice in the popup form (frmSplash).
struct PopupRequest {
    QString text;
    int seconds = 0;       // > 0: closes itself after this many seconds; 0: only OK closes it
    bool modal = false;
    bool red = false;      // message text in red
    QString title;         // window title; empty = the form's usual title
    bool centred = false;  // centre of the screen instead of near the notification area
};

class RunView {
public:
    virtual ~RunView() = default;

    // lblTime: text, fore colour, font size in points.
    virtual void setRemainingText(const QString &text) = 0;
    virtual void setRemainingColor(const RunColor &color) = 0;
    virtual void setRemainingFontSize(int points) = 0;

    // Window caption (also the task bar text).
    virtual void setCaption(const QString &caption) = 0;

    // lblMsg ("監視文言状態検知！！"): shown or hidden; the engine blinks it.
    virtual void setPhraseLabelVisible(bool visible) = 0;

    // lbl復帰時分: "予定 hh:mm:ss", or "" to clear it.
    virtual void setResumeLabel(const QString &text) = 0;

    // lbl現在時刻 ("hh:mm:ss") and lblStatus (power line text), refreshed every second.
    virtual void setClockText(const QString &text) = 0;
    virtual void setLineStatusText(const QString &text) = 0;

    // true: a run is active: ChkMulti, FrImmediate, the start button, the
    // settings frames (frOp, fr監視, fr復帰_1, fr復帰_2) and frDisp disabled, the
    // stop button enabled. false: the reverse, and the home-page label shown.
    virtual void setRunLocked(bool locked) = 0;
    // After a resume with keep state: ChkMulti and FrImmediate enabled again
    // while the rest stays as it is.
    virtual void enableMultiAndQuick() = 0;

    // The engine changed fields of the job record (chkDsp, cmbTime, Opt, chk復帰,
    // chkTaskTray): the view shows the record's values again.
    virtual void settingsChanged() = 0;

    // Window requests.
    virtual void showWindowNormal() = 0;         // restore to normal size, make visible, raise
    virtual void applyTopmost(bool topmost) = 0; // always-on-top band on/off
    virtual void hideWindow() = 0;
    virtual void minimizeWindow() = 0;
    // Adds the tray icon with this tooltip, hides the window and shows the
    // "タスクトレイに収納します" notice. Called only when the tray option is on.
    virtual void showInTray(const QString &tooltip) = 0;
    virtual void removeTrayIcon() = 0;

    // Modal message box with an OK button; focusField is the objectName of the
    // control that gets the focus with its whole text selected ("" = none):
    // "cmbTime", "txt監視文言", "txtExecAp", "txtResume_0" .. "txtResume_4".
    virtual void showMessage(const QString &title, const QString &text, const QString &focusField) = 0;

    // OK/Cancel question, Cancel the default. The view answers later by
    // calling `answer` exactly once (true = OK); it must not call it from
    // inside askOkCancel itself unless it has no user to ask.
    virtual void askOkCancel(const QString &title, const QString &text, std::function<void(bool ok)> answer) = 0;

    // The popup notice (ShowMessagePopup). `closed`, when given, is called
    // once the popup has gone (OK, its countdown ran out, or at once when the
    // view shows no popups); the engine passes it for modal popups it must
    // wait for.
    virtual void showMessagePopup(const PopupRequest &popup, std::function<void()> closed) = 0;

    // End the program (the main window unloads).
    virtual void quit(int exitCode) = 0;
};

// The last minutes of a countdown: the window leaves the tray, comes up normal
// and stays on top (`topmost`, the job's Topmost, is set; the view hears of the
// change of setting once).
inline void BringForwardForWarning(int &topmost, RunView *view)
{
    const bool changed = topmost != 1;
    topmost = 1;
    if (!view)
        return;
    view->removeTrayIcon();
    view->applyTopmost(true);
    view->showWindowNormal();
    if (changed)
        view->settingsChanged();
}

}  // namespace zk
