// The rules of the shortcut maker (frmCreateShortcut): the hand-over from
// the main window, the working folder that follows the target, the checks
// before writing, and the freedesktop launcher (.desktop file) it writes.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace zk {

// The boxes of the form, txtInfo(0) .. txtInfo(6), and the window-size list.
enum ShortcutBox {
    kBoxFile = 0,        // the launcher file (.desktop)
    kBoxTarget = 1,      // the program
    kBoxArguments = 2,   // its command line
    kBoxHotkey = 3,
    kBoxFolder = 4,      // working folder
    kBoxComment = 5,
    kBoxIcon = 6,        // an image file or an icon-theme name
    kShortcutBoxes = 7,
};

struct ShortcutFields {
    QString boxes[kShortcutBoxes];
    int windowStyle = 0;  // cmbWindowStyle: 0 normal, 1 maximised, 2 minimised
};

// The file name the maker proposes, in the desktop folder.
inline const QString kShortcutFileName = QStringLiteral("Zenkoroシャットダウンへのショートカット.desktop");

// The hand-over text of the shortcut button: launcher file, target program
// and arguments, separated by TAB.
QString ShortcutHandOver(const QString &desktopDir, const QString &programPath, const QString &arguments);
// The form's boxes from a hand-over: fields 0, 1, 2 (missing ones empty);
// the other boxes empty, the window size normal.
ShortcutFields FieldsFromHandOver(const QString &handOver);

// The file system questions of the maker.
struct ShortcutFileQueries {
    std::function<bool(const QString &path)> isFile;
    std::function<bool(const QString &path)> isDir;
    // What stands at the launcher's path when it is something the launcher
    // is not written over (anything but a regular file, a link to one, or
    // nothing), in words; empty otherwise. May be left unset.
    std::function<QString(const QString &path)> refusal;
};

// The folder of a path as the form takes it: trimmed and unquoted; a folder
// stays itself, a file gives the part before its last "/".
QString FolderOfPath(const QString &path, const ShortcutFileQueries &fs);

// What the create button finds before writing.
struct ShortcutCheck {
    enum Result {
        Ok,             // write
        AskOverwrite,   // the file exists: ask first
        Refused,        // a box is wrong: message, focus the box, stay open
    };
    Result result = Ok;
    QString title;
    QString text;
    int focusBox = -1;
};
ShortcutCheck CheckShortcut(const ShortcutFields &fields, const ShortcutFileQueries &fs);

// The messages of the maker (translated). An existing file asks "上書き確認",
// "既に同一ファイル名が存在します。上書きしますか？" (CheckShortcut).
QString CreatedTitle();  // "ショートカット作成"
QString CreatedText();  // "成功", a blank line, the question to open the folder
QString WriteFailedText(const QString &path);

// The argument list of a command-line text: the arguments that, joined as
// the program joins its arguments (JoinArguments), give the text back:
// words at every blank, a value in angle brackets whole.
QStringList ArgumentsOfCommandLine(const QString &text);

// One argument of an Exec value: quoted by the Desktop Entry rules where it
// holds a reserved character ("", blanks, quotes, \, $, `, <, >, ...), with
// "%" written "%%". The key-file escapes are not applied yet.
QString QuoteExecArgument(const QString &argument);
// A value of a key file: \, line breaks, tabs and a leading blank escaped.
QString EscapeKeyValue(const QString &value);

// The launcher file: an application entry that runs the target with the
// arguments in the working folder, with the name of the file, the comment
// and the icon. Nothing is written for the hotkey and the window size: a
// desktop entry has no key for them.
QString DesktopLauncherText(const ShortcutFields &fields);

// The file the launcher is written to: box 0 trimmed and unquoted, with
// ".desktop" added when it does not end so (the desktop runs no other files).
QString LauncherPath(const QString &box);

}  // namespace zk
