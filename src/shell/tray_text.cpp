#include "shell/tray_text.h"

#include "core/crlf.h"
#include "core/text.h"

#include <QCoreApplication>
#include <QtNumeric>
#include <cmath>
#include <limits>

namespace zk {

namespace {
QString two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
}  // namespace

QString TrayTimeText(const QDateTime &t, const QDate &today)
{
    //: A clock time: %1 hours, %2 minutes (two digits each).
    const QString hm = QCoreApplication::translate("TrayText", "%1時%2分").arg(two(t.time().hour()), two(t.time().minute()));
    if (t.date() == today)
        return hm;
    //: A date and time: %1 year, %2 month, %3 day (two digits), %4 the clock time.
    return QCoreApplication::translate("TrayText", "%1年%2月%3日 %4")
        .arg(QString::number(t.date().year()), two(t.date().month()), two(t.date().day()), hm);
}

QString TrayTooltipText(const TrayTooltipInput &in)
{
    if (!in.runActive)
        //: Tray tooltip when no run is active; %1: the window title.
        return QCoreApplication::translate("TrayText", "%1 未実行").arg(in.windowTitle);
    // With the resume box checked but no resume time fixed (no date given),
    // the icon names the action rather than an empty wake time.
    if (in.resumeChecked && in.resumeTime.isValid())
        //: Tray tooltip; %1: the time the machine wakes.
        return QCoreApplication::translate("TrayText", "%1に復帰").arg(TrayTimeText(in.resumeTime, in.today));
    //: Tray tooltip; %1: the time of the power action, %2: the power action.
    return QCoreApplication::translate("TrayText", "%1に%2").arg(TrayTimeText(in.targetTime, in.today), in.operationText);
}

QString CutTrayTooltip(const QString &text)
{
    if (text.size() <= kTrayTooltipMax)
        return text;
    int n = kTrayTooltipMax;
    if (text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}

QString TrayNoticeText(const QString &tooltip)
{
    return tooltip.trimmed() + kCrLf + QCoreApplication::translate("TrayText", "・・・タスクトレイに収納します・・・");
}

int TraySlideOffset(int x0, int screenRight, int tMs)
{
    if (tMs <= 0)
        return 0;
    if (tMs > kTraySlideMs)
        tMs = kTraySlideMs;
    const double a = 2.0 * double(screenRight - x0) / (double(kTraySlideMs) * kTraySlideMs);
    return int(std::lround(a * double(tMs) * double(tMs) / 2.0));
}

QPoint TraySlidePosition(const QPoint &start, int screenRight, int tMs)
{
    const int d = TraySlideOffset(start.x(), screenRight, tMs);
    return start + QPoint(d, d);
}

SplashTick SplashCountdownTick(const QString &secondsText, int intervalMs)
{
    if (secondsText.trimmed().isEmpty())
        return {secondsText, false};
    qint64 left = 0;
    if (qSubOverflow(LeadingInt(secondsText), qint64(intervalMs / 1000), &left))
        left = std::numeric_limits<qint64>::min();
    return {QString::number(left), left <= 0};
}

}  // namespace zk
