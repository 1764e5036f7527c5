#include "shell/tray_text.h"

#include "core/crlf.h"
#include "core/text.h"

#include <QtNumeric>
#include <cmath>
#include <limits>

namespace zk {

namespace {
QString two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
}  // namespace

QString TrayTimeText(const QDateTime &t, const QDate &today)
{
    const QString hm = two(t.time().hour()) + QStringLiteral("時") + two(t.time().minute()) + QStringLiteral("分");
    if (t.date() == today)
        return hm;
    return QString::number(t.date().year()) + QStringLiteral("年") + two(t.date().month()) + QStringLiteral("月") +
           two(t.date().day()) + QStringLiteral("日 ") + hm;
}

QString TrayTooltipText(const TrayTooltipInput &in)
{
    if (!in.runActive)
        return in.windowTitle + QStringLiteral(" 未実行");
    // With the resume box checked but no resume time fixed (no date given),
    // the icon names the action rather than an empty wake time.
    if (in.resumeChecked && in.resumeTime.isValid())
        return TrayTimeText(in.resumeTime, in.today) + QStringLiteral("に復帰");
    return TrayTimeText(in.targetTime, in.today) + QStringLiteral("に") + in.operationText;
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
    return tooltip.trimmed() + kCrLf + QStringLiteral("・・・タスクトレイに収納します・・・");
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
