#include "app/long_options.h"

namespace zk {

LongOptions TakeLongOptions(const QStringList &arguments)
{
    LongOptions o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--help")
            o.help = true;
        else if (a == u"--version")
            o.version = true;
        else if (a == u"--explain")
            o.explain = true;
        else if (a == u"--dry-run")
            o.dryRun = true;
        else if (a == u"--save")
            o.save = true;
        else if (a == u"--command-line")
            o.commandLine = true;
        else if (a == u"--status")
            o.status = true;
        else if (a == u"--stop" || a.startsWith(u"--stop=")) {
            o.stop = true;
            // The PID is optional: the next word counts when it is a number.
            bool given = a.startsWith(u"--stop=");
            QString pid = given ? a.mid(7) : QString();
            if (!given && i + 1 < arguments.size() && !arguments[i + 1].isEmpty() && arguments[i + 1][0].isDigit()) {
                pid = arguments[++i];
                given = true;
            }
            if (given) {
                bool ok = false;
                o.stopPid = pid.toLongLong(&ok);
                if (!ok || o.stopPid <= 0) {
                    o.error = QStringLiteral("--stop takes a process id, not '%1'").arg(pid);
                    return o;
                }
            }
        }
        else if (a == u"--conf") {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                o.error = QStringLiteral("--conf needs a file name");
                return o;
            }
            o.conf = arguments[++i];
        } else if (a.startsWith(u"--conf=")) {
            o.conf = a.mid(7);
            if (o.conf.isEmpty()) {
                o.error = QStringLiteral("--conf needs a file name");
                return o;
            }
        } else if (a.startsWith(u"--") && a.size() > 2 && a[2].isLetter()) {
            o.error = QStringLiteral("unknown option %1 (see --help)").arg(a);
            return o;
        } else {
            o.rest << a;
        }
    }
    // The clients of a running copy start nothing: parameters would be lost.
    if ((o.status || o.stop) && !o.rest.isEmpty())
        o.error = QStringLiteral("%1 takes no parameters ('%2')")
                      .arg(o.status ? QStringLiteral("--status") : QStringLiteral("--stop [PID]"), o.rest.join(u' '));
    return o;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: zenkoro [OPTIONS] [-PARAMETER [VALUE]]...\n"
        "\n"
        "Shuts down, reboots, logs off, hibernates or suspends this computer after\n"
        "a number of minutes, at a clock time, or when a watched condition holds.\n"
        "\n"
        "Options:\n"
        "  --help           show this text and exit\n"
        "  --version        show the version and exit\n"
        "  --conf FILE      use FILE as the settings file\n"
        "  --explain        apply the settings file and the parameters, print the\n"
        "                   resulting state as JSON and exit; starts nothing\n"
        "  --save           apply the settings file and the parameters, write the\n"
        "                   settings file and exit; starts nothing\n"
        "  --command-line   print the parameters that reproduce the current settings\n"
        "  --dry-run        report power actions instead of performing them\n"
        "  --status         print the state of every running zenkoro as JSON\n"
        "                   (asks them over the session D-Bus bus) and exit\n"
        "  --stop [PID]     stop the run of the running zenkoro (or of the one\n"
        "                   with process id PID), as its stop button does\n"
        "\n"
        "Parameters (examples):\n"
        "  -auto -reboot -time 10           reboot in 10 minutes\n"
        "  -auto -shutdown -time 23:30      shut down at 23:30\n"
        "  -auto -standby -time 30 -resume 7:00 -resume_ap <program args>\n"
        "  -auto -appear <phrase>           act when the phrase appears on screen\n"
        "  -auto -cpu_utl 5 60              act when CPU use stays under 5 % for 60 s\n"
        "\n"
        "Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) zenkoro runs\n"
        "headless: messages go to standard error and the caption and remaining time\n"
        "to standard output.\n");
}

}  // namespace zk
