#include "app/long_options.h"

#include <QCoreApplication>

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
        } else if (a == u"--lang" || a.startsWith(u"--lang=")) {
            const bool joined = a.startsWith(u"--lang=");
            if (!joined && i + 1 >= arguments.size()) {
                o.error = QStringLiteral("--lang needs ja or en");
                return o;
            }
            const QString word = joined ? a.mid(7) : arguments[++i];
            o.language = LanguageFromOption(word);
            if (!o.language) {
                o.error = QStringLiteral("--lang takes ja or en, not '%1'").arg(word);
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
    //: The text of --help. Option names, parameter words and examples stay as they are.
    return QCoreApplication::translate("Usage",
        "使い方: zenkoro [オプション] [-パラメーター [値]]...\n"
        "\n"
        "指定した分数の後、指定した時刻、または監視する条件が成り立ったときに、\n"
        "このコンピューターをシャットダウン、再起動、ログオフ、休止、スリープします。\n"
        "\n"
        "オプション:\n"
        "  --help           この説明を表示して終了します\n"
        "  --version        バージョンを表示して終了します\n"
        "  --conf FILE      設定ファイルとして FILE を使います\n"
        "  --lang ja|en     表示する言語 (日本語 / 英語)。省略時はロケールで決まります\n"
        "  --explain        設定ファイルとパラメーターを適用した状態を JSON で\n"
        "                   表示して終了します。何も開始しません\n"
        "  --save           設定ファイルとパラメーターを適用し、設定ファイルに\n"
        "                   書き込んで終了します。何も開始しません\n"
        "  --command-line   今の設定を再現するパラメーターを表示します\n"
        "  --dry-run        電源操作を実行せず、報告だけします\n"
        "  --status         実行中のすべての zenkoro の状態を JSON で表示して\n"
        "                   終了します (セッションの D-Bus バスで問い合わせます)\n"
        "  --stop [PID]     実行中の zenkoro (PID を指定するとそのプロセス) の\n"
        "                   実行を、中止ボタンと同じように中止します\n"
        "\n"
        "パラメーター (例):\n"
        "  -auto -reboot -time 10           10 分後に再起動\n"
        "  -auto -shutdown -time 23:30      23:30 にシャットダウン\n"
        "  -auto -standby -time 30 -resume 7:00 -resume_ap <program args>\n"
        "  -auto -appear <phrase>           語句が画面に現れたら実行\n"
        "  -auto -cpu_utl 5 60              CPU 使用率が 60 秒間 5 % 未満なら実行\n"
        "\n"
        "画面がない (DISPLAY も WAYLAND_DISPLAY も設定されていない) ときは画面なしで\n"
        "動きます。メッセージは標準エラー出力に、表題と残り時間は標準出力に出ます。\n");
}

}  // namespace zk
