// Texts and motion of the notification-area icon and its notices.
#pragma once

#include <QDateTime>
#include <QPoint>
#include <QString>

namespace zk {

// The longest tooltip the icon carries; longer texts are cut.
inline constexpr int kTrayTooltipMax = 63;

// "hh時MM分" when t lies on today, else "yyyy年mm月dd日 hh時MM分".
QString TrayTimeText(const QDateTime &t, const QDate &today);

// What the icon's tooltip says.
struct TrayTooltipInput {
    bool runActive = false;         // the start button is disabled
    bool resumeChecked = false;     // the resume box is checked
    QDateTime resumeTime;           // invalid = none
    QDateTime targetTime;
    QString operationText;
    QString windowTitle;            // the window's normal title
    QDate today;
};
QString TrayTooltipText(const TrayTooltipInput &in);

// The tooltip cut to kTrayTooltipMax characters (never inside a surrogate pair).
QString CutTrayTooltip(const QString &text);

// The notice shown when the window goes to the tray.
QString TrayNoticeText(const QString &tooltip);

// The slide-out of the tray notice: after its two seconds the notice moves
// diagonally by the same offset on both axes, accelerating uniformly, so that
// its left edge reaches screenRight after kTraySlideMs.
inline constexpr int kTraySlideMs = 1000;
inline constexpr int kTraySlideStepMs = 10;
inline constexpr int kTrayNoticeMs = 2000;
// Offset in pixels t milliseconds into the slide, from a start at left x0.
int TraySlideOffset(int x0, int screenRight, int tMs);
QPoint TraySlidePosition(const QPoint &start, int screenRight, int tMs);

// One second of the popup notice's countdown: the seconds text after the
// tick and whether the notice closes now. An empty text means no countdown.
struct SplashTick {
    QString secondsText;
    bool close = false;
};
SplashTick SplashCountdownTick(const QString &secondsText, int intervalMs = 1000);

}  // namespace zk
