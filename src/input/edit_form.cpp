#include "input/edit_form.h"

#include "shell/window_place.h"

#include <QCoreApplication>
#include <algorithm>

namespace zk {

int StepEditFontSize(int points, int delta)
{
    return std::clamp(points + delta, kEditFontMin, kEditFontMax);
}

std::optional<QSize> EditFormSize(const EditSettings &edit)
{
    // Two negative sides make a positive product too.
    if (edit.EditWidth <= 0 || edit.EditHeight <= 0)
        return std::nullopt;
    return QSize(edit.EditWidth / kTwipsPerPixel, edit.EditHeight / kTwipsPerPixel);
}

std::optional<int> EditFontSize(const EditSettings &edit)
{
    if (edit.EditFontSize <= 0)
        return std::nullopt;
    return edit.EditFontSize;
}

bool EditInputMethodOpen(const EditSettings &edit)
{
    return edit.EditMode == 1;
}

QString InputMethodLabel(bool open)
{
    //: The input method state of the input form: Japanese input on, or off.
    return open ? QCoreApplication::translate("EditForm", "日本語") : QCoreApplication::translate("EditForm", "English");
}

bool EditFormShowsCommandHelp(EditFormOpener opener)
{
    return opener == EditFormOpener::ApplicationCommand;
}

QString InputMethodTooltip(bool switchable)
{
    const QString tip = QCoreApplication::translate("EditForm", "クリックで 日本語⇔English 切り替え");
    if (switchable)
        return tip;
    return tip + QLatin1Char('\n') +
           QCoreApplication::translate("EditForm", "（入力メソッドを切り替えられないため、選んだ状態を記憶するだけです）");
}

QString EditResultText(const QString &typed, bool singleLine)
{
    QString t = typed;
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (singleLine) {
        t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return t;
}

void RememberEditForm(EditSettings &edit, QSize size, int fontPoints, bool inputMethodOpen)
{
    edit.EditWidth = size.width() * kTwipsPerPixel;
    edit.EditHeight = size.height() * kTwipsPerPixel;
    edit.EditFontSize = fontPoints;
    edit.EditMode = inputMethodOpen ? 1 : 0;
}

}  // namespace zk
