#include "core/command_line_generator.h"

#include "core/text.h"

namespace zk {

QString YesNoText(int value)
{
    return value == 1 ? QStringLiteral("y") : QStringLiteral("n");
}

QString OperationPiece(const QString &operationText)
{
    if (operationText == kOpShutdown)
        return QStringLiteral("-shutdown");
    if (operationText == kOpReboot)
        return QStringLiteral("-reboot");
    if (operationText == kOpLogoff)
        return QStringLiteral("-logoff");
    if (operationText == kOpHibernate)
        return QStringLiteral("-hibernation");
    if (operationText == kOpStandby || operationText == kOpSleep)
        return QStringLiteral("-standby");
    return QString();
}

namespace {
// An hour or minute box as the start reads it: an empty box is 0, and text
// that is not a number is written as its leading number, so the parser takes
// the line back.
QString ClockPart(const QString &box)
{
    return IsNumeric(box) ? box.trimmed() : NumberText(LeadingNumber(box));
}
}  // namespace

QString BuildCommandLine(const AppState &state)
{
    const JobSettings &j = state.job;
    QStringList pieces{QStringLiteral("-auto")};

    if (j.MultiEnabled == 1) {
        pieces << QStringLiteral("-multi");
    } else {
        const QString op = OperationPiece(state.OperationText());
        if (!op.isEmpty())
            pieces << op;

        if (j.TimingMode == 1)
            pieces << QStringLiteral("-time ") + ClockPart(j.ClockHour) + QLatin1Char(':') + ClockPart(j.ClockMinute);
        else
            pieces << QStringLiteral("-time ") + j.DelayMinutes.trimmed();

        if (j.Force == 1)
            pieces << QStringLiteral("-force");

        if (j.MonitorEnabled == 1) {
            switch (j.MonitorKind) {
            case 0:
                pieces << (j.PhraseEvent == 0 ? QStringLiteral("-appear") : QStringLiteral("-disappear")) +
                              QLatin1Char(' ') + j.MonitorPhrase;
                break;
            case 1: {
                QString piece = QStringLiteral("-cpu_utl ") + j.CpuLowerLimit.trimmed() + QLatin1Char(' ') +
                                j.CpuAverageSeconds.trimmed();
                if (!j.CpuProcess.isEmpty())
                    piece += QStringLiteral(" -cpu_proc ") + ParameterPart(j.CpuProcess.trimmed());
                pieces << piece;
                break;
            }
            case 2:
                pieces << QStringLiteral("-battery ") + j.IdleSeconds.trimmed();
                break;
            default:
                break;
            }
        }

        if (j.ResumeEnabled == 1) {
            if (j.ResumeAtClock == 1)
                pieces << QStringLiteral("-resume ") + j.ResumeDateParts[3] + QLatin1Char(':') + j.ResumeDateParts[4];
            else
                pieces << QStringLiteral("-resume ") + j.ResumeAfterMinutes;
            if (j.LaunchApp == 1 && !j.AppCommand.isEmpty())
                pieces << QStringLiteral("-resume_ap < ") + j.AppCommand + QStringLiteral(" >");
        }
    }

    auto option = [&pieces](bool written, const char *piece, int value) {
        if (written)
            pieces << QLatin1String(piece) + QLatin1Char(' ') + YesNoText(value);
    };
    option(j.NoAlert == 1, "-nodisp_alert", j.NoAlert);
    option(j.MinimizeAtStart == 1, "-minimize", j.MinimizeAtStart);
    option(j.TrayIcon == 1, "-tasktray", j.TrayIcon);
    option(j.CaptureOnExit == 1, "-capture", j.CaptureOnExit);
    option(j.IeMonitor == 1, "-ie", j.IeMonitor);
    if (j.ResumeOnly == 1)
        pieces << QStringLiteral("-resume_only");
    option(j.Topmost == 0, "-topmost", j.Topmost);
    option(j.CountdownSound == 0, "-no_beep", 1 - j.CountdownSound);
    option(j.ResumeMonitorOn == 0, "-monitor_off", 1 - j.ResumeMonitorOn);
    option(j.ResumeKeepState == 0, "-resume_nohold", 1 - j.ResumeKeepState);

    QString line = pieces.join(QLatin1Char(' '));
    // An empty phrase would otherwise leave a blank at the end.
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line;
}

}  // namespace zk
