#include "core/desktop_entry.h"

#include "core/launcher.h"

namespace zk {

KeyFileGroups ParseKeyFile(const QString &text)
{
    KeyFileGroups groups;
    QString group;
    bool inGroup = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char('#')))
            continue;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            group = t.mid(1, t.size() - 2);
            inGroup = true;
            groups[group];
            continue;
        }
        if (!inGroup)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        QMap<QString, QString> &entries = groups[group];
        if (!entries.contains(key))
            entries.insert(key, line.mid(eq + 1).trimmed());
    }
    return groups;
}

QString UnescapeKeyValue(const QString &raw)
{
    QString out;
    out.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != QLatin1Char('\\') || i + 1 >= raw.size()) {
            out += c;
            continue;
        }
        const QChar n = raw[i + 1];
        switch (n.unicode()) {
        case 's': out += QLatin1Char(' '); ++i; break;
        case 'n': out += QLatin1Char('\n'); ++i; break;
        case 't': out += QLatin1Char('\t'); ++i; break;
        case 'r': out += QLatin1Char('\r'); ++i; break;
        case '\\': out += QLatin1Char('\\'); ++i; break;
        default: out += c; break;
        }
    }
    return out;
}

QStringList SplitKeyList(const QString &raw)
{
    QStringList items;
    QString cur;
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == QLatin1Char('\\') && i + 1 < raw.size() && raw[i + 1] == QLatin1Char(';')) {
            cur += QLatin1Char(';');
            ++i;
        } else if (c == QLatin1Char(';')) {
            items << UnescapeKeyValue(cur).trimmed();
            cur.clear();
        } else {
            cur += c;
        }
    }
    items << UnescapeKeyValue(cur).trimmed();
    items.removeAll(QString());
    return items;
}

DesktopEntry ParseDesktopEntry(const QString &text)
{
    DesktopEntry e;
    const KeyFileGroups groups = ParseKeyFile(text);
    const auto it = groups.constFind(QStringLiteral("Desktop Entry"));
    if (it == groups.constEnd())
        return e;
    const QMap<QString, QString> &g = it.value();
    e.valid = true;
    e.type = UnescapeKeyValue(g.value(QStringLiteral("Type")));
    e.exec = UnescapeKeyValue(g.value(QStringLiteral("Exec")));
    e.url = UnescapeKeyValue(g.value(QStringLiteral("URL")));
    e.path = UnescapeKeyValue(g.value(QStringLiteral("Path")));
    e.terminal = g.value(QStringLiteral("Terminal")) == QLatin1String("true");
    e.hidden = g.value(QStringLiteral("Hidden")) == QLatin1String("true");
    return e;
}

QStringList ExecArguments(const QString &exec)
{
    QStringList out;
    for (const QString &token : SplitArguments(exec, ArgumentQuoting::DesktopExec)) {
        QString arg;
        bool fieldCode = false;
        for (qsizetype i = 0; i < token.size(); ++i) {
            if (token[i] != QLatin1Char('%')) {
                arg += token[i];
            } else if (i + 1 < token.size() && token[i + 1] == QLatin1Char('%')) {
                arg += QLatin1Char('%');
                ++i;
            } else {
                fieldCode = true;
                break;
            }
        }
        if (!fieldCode)
            out << arg;
    }
    return out;
}

}  // namespace zk
