// Reading freedesktop key files: desktop entries (the program's stand-in for
// shortcut files and for the program a document type opens with) and
// mimeapps.list files.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace zk {

// Groups of a key file: group name -> key -> raw value (escapes still in it).
// Localised keys ("Name[ja]") are kept under their full name; comment and
// blank lines are skipped; a key repeated in one group keeps its first value.
using KeyFileGroups = QMap<QString, QMap<QString, QString>>;
KeyFileGroups ParseKeyFile(const QString &text);

// The value escapes of a key file: \s \n \t \r \\ ; other sequences stay.
QString UnescapeKeyValue(const QString &raw);
// A list value ("a;b;c;"): split at unescaped ";", escapes removed, empty items dropped.
QStringList SplitKeyList(const QString &raw);

// The parts of a desktop entry the launcher uses.
struct DesktopEntry {
    bool valid = false;       // there is a [Desktop Entry] group
    QString type;             // Application, Link, Directory
    QString exec;             // unescaped Exec value, still with its quoting and field codes
                              // (SplitArguments with ArgumentQuoting::DesktopExec splits it)
    QString url;              // URL of a Link entry
    QString path;             // working directory, empty = unset
    bool terminal = false;
    bool hidden = false;
};
DesktopEntry ParseDesktopEntry(const QString &text);

// The program and arguments of an unescaped Exec value, split by the quoting
// rules; "%%" stands for "%"; an argument that holds another field code
// (%f, %U, ...) is left out: no files or addresses are passed.
QStringList ExecArguments(const QString &exec);

}  // namespace zk
