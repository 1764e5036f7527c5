#include "shell/shortcut_maker.h"

#include "core/crlf.h"

#include <QCoreApplication>

namespace zk {

namespace {

const QString kLauncherSuffix = QStringLiteral(".desktop");

QString Unquoted(const QString &text)
{
    QString t = text.trimmed();
    while (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2);
    return t;
}

// The box's text, a blank line, then `sentence`: "は有効なファイルパスではありません！"
// or "は有効なフォルダパスではありません！".
QString NotAPath(const QString &box, const QString &sentence)
{
    return box + kCrLf + kCrLf + sentence;
}

QString NotAFilePath(const QString &box)
{
    //: Follows a path typed in a box, on a line of its own.
    return NotAPath(box, QCoreApplication::translate("ShortcutMaker", "は有効なファイルパスではありません！"));
}

bool Reserved(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#`()=");
    return reserved.contains(c);
}

}  // namespace

QString ShortcutHandOver(const QString &desktopDir, const QString &programPath, const QString &arguments)
{
    QString folder = desktopDir;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString file = folder == QLatin1String("/") ? folder + kShortcutFileName
                                                      : folder + QLatin1Char('/') + kShortcutFileName;
    return file + QLatin1Char('\t') + programPath + QLatin1Char('\t') + arguments;
}

ShortcutFields FieldsFromHandOver(const QString &handOver)
{
    ShortcutFields f;
    const QStringList parts = handOver.split(QLatin1Char('\t'));
    for (int i = 0; i < 3 && i < parts.size(); ++i)
        f.boxes[i] = parts[i];
    return f;
}

QString FolderOfPath(const QString &path, const ShortcutFileQueries &fs)
{
    const QString p = Unquoted(path);
    if (p.isEmpty() || (fs.isDir && fs.isDir(p)))
        return p;
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    if (slash == 0)
        return QStringLiteral("/");
    return Unquoted(p.left(slash));
}

QString LauncherPath(const QString &box)
{
    QString p = Unquoted(box);
    if (!p.isEmpty() && !p.endsWith(kLauncherSuffix, Qt::CaseInsensitive))
        p += kLauncherSuffix;
    return p;
}

ShortcutCheck CheckShortcut(const ShortcutFields &fields, const ShortcutFileQueries &fs)
{
    ShortcutCheck c;
    auto refuse = [&c](int box, const QString &text) {
        c.result = ShortcutCheck::Refused;
        c.title = QCoreApplication::translate("ShortcutMaker", "失敗");
        c.text = text;
        c.focusBox = box;
        return c;
    };
    const QString &fileBox = fields.boxes[kBoxFile];
    const QString file = LauncherPath(fileBox);
    // A folder named as the file has no file name to write.
    if (file.isEmpty() || fs.isDir(Unquoted(fileBox)) || !fs.isDir(FolderOfPath(file, fs)))
        return refuse(kBoxFile, NotAFilePath(fileBox));
    const QString &target = fields.boxes[kBoxTarget];
    if (!fs.isFile(Unquoted(target)))
        return refuse(kBoxTarget, NotAFilePath(target));
    const QString &folder = fields.boxes[kBoxFolder];
    if (!folder.isEmpty() && !fs.isDir(Unquoted(folder)))
        //: Follows a path typed in a box, on a line of its own.
        return refuse(kBoxFolder, NotAPath(folder, QCoreApplication::translate("ShortcutMaker", "は有効なフォルダパスではありません！")));
    if (const QString what = fs.refusal ? fs.refusal(file) : QString(); !what.isEmpty())
        //: Follows the launcher's path, on a line of its own; %1: what stands there (a folder, a FIFO...).
        return refuse(kBoxFile, file + kCrLf + kCrLf +
                                    QCoreApplication::translate("ShortcutMaker", "は%1で、通常のファイルではありません。ショートカットは書き込みません。").arg(what));
    if (fs.isFile(file)) {
        c.result = ShortcutCheck::AskOverwrite;
        c.title = QCoreApplication::translate("ShortcutMaker", "上書き確認");
        c.text = QCoreApplication::translate("ShortcutMaker", "既に同一ファイル名が存在します。上書きしますか？");
    }
    return c;
}

QString CreatedText()
{
    return QCoreApplication::translate("ShortcutMaker", "成功") + kCrLf + kCrLf + QCoreApplication::translate("ShortcutMaker", "作成したショートカットのフォルダを開きますか？");
}

QString CreatedTitle()
{
    return QCoreApplication::translate("ShortcutMaker", "ショートカット作成");
}

QString WriteFailedText(const QString &path)
{
    //: Follows the launcher's path, on a line of its own.
    return path + kCrLf + kCrLf + QCoreApplication::translate("ShortcutMaker", "にショートカットを書き込めませんでした。");
}

QStringList ArgumentsOfCommandLine(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    QStringList args;
    qsizetype pos = begin;
    while (pos < end) {
        qsizetype from = pos;
        if (text[pos] == QLatin1Char('<')) {
            // A bracketed value goes whole, blanks and all, to its closing bracket.
            int depth = 0;
            qsizetype close = -1;
            for (qsizetype k = pos; k < end; ++k) {
                if (text[k] == QLatin1Char('<'))
                    ++depth;
                else if (text[k] == QLatin1Char('>') && --depth == 0) {
                    close = k;
                    break;
                }
            }
            from = close < 0 ? end : close + 1;
        }
        qsizetype blank = text.indexOf(QLatin1Char(' '), from);
        if (blank < 0 || blank >= end)
            blank = end;
        args << text.mid(pos, blank - pos);
        pos = blank + 1;
    }
    return args;
}

QString QuoteExecArgument(const QString &argument)
{
    QString body;
    bool quote = argument.isEmpty();
    for (const QChar c : argument) {
        if (Reserved(c))
            quote = true;
        if (c == QLatin1Char('%'))
            body += QStringLiteral("%%");
        else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            body += QLatin1Char('\\') + QString(c);  // escaped inside quotes only
        else
            body += c;
    }
    if (!quote)
        return body;  // nothing reserved, so nothing was escaped
    return QLatin1Char('"') + body + QLatin1Char('"');
}

QString EscapeKeyValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case ' ': out += i == 0 ? QStringLiteral("\\s") : QStringLiteral(" "); break;
        default: out += c; break;
        }
    }
    return out;
}

QString DesktopLauncherText(const ShortcutFields &fields)
{
    const QString file = LauncherPath(fields.boxes[kBoxFile]);
    QString name = file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
    name.chop(kLauncherSuffix.size());
    QStringList exec{QuoteExecArgument(Unquoted(fields.boxes[kBoxTarget]))};
    for (const QString &a : ArgumentsOfCommandLine(fields.boxes[kBoxArguments]))
        exec << QuoteExecArgument(a);

    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
    auto key = [&text](const char *k, const QString &value) {
        text += QLatin1String(k) + QLatin1Char('=') + EscapeKeyValue(value) + QLatin1Char('\n');
    };
    key("Name", name);
    if (!fields.boxes[kBoxComment].isEmpty())
        key("Comment", fields.boxes[kBoxComment]);
    key("Exec", exec.join(QLatin1Char(' ')));
    const QString folder = Unquoted(fields.boxes[kBoxFolder]);
    if (!folder.isEmpty())
        key("Path", folder);
    const QString icon = fields.boxes[kBoxIcon].trimmed();
    if (!icon.isEmpty())
        key("Icon", icon);
    text += QStringLiteral("Terminal=false\n");
    return text;
}

}  // namespace zk
