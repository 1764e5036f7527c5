// The rules of the command input form (frmInput): its remembered size, font
// size and input-method state, and what OK gives back to the edited box.
#pragma once

#include "core/job.h"

#include <QSize>
#include <QString>
#include <optional>

namespace zk {

inline constexpr int kEditFontMin = 9;
inline constexpr int kEditFontMax = 40;

// Who opens the form: a box of an application command (the main application
// box, a multi row, the weekly resume list), the phrase box, or a box of the
// shortcut maker.
enum class EditFormOpener { ApplicationCommand, Phrase, ShortcutMaker };
// The parameter-help label (lblComSw) is shown for application commands only.
bool EditFormShowsCommandHelp(EditFormOpener opener);

// The font buttons: one point larger or smaller, kept within 9 .. 40.
int StepEditFontSize(int points, int delta);

// The remembered size in pixels; none unless both stored sides are positive.
std::optional<QSize> EditFormSize(const EditSettings &edit);
// The remembered font size; none unless positive.
std::optional<int> EditFontSize(const EditSettings &edit);
bool EditInputMethodOpen(const EditSettings &edit);

// "English" while the input method is off, "日本語" while it is on.
QString InputMethodLabel(bool open);
// The label's tooltip; without a switchable input method it says that only
// the chosen state is kept.
QString InputMethodTooltip(bool switchable);

// OK: the text for the edited box, every tab as one space; for a one-line
// box (singleLine) a pasted line break becomes one space as well.
QString EditResultText(const QString &typed, bool singleLine);
// OK: the form's size (pixels), font size and input-method state remembered.
void RememberEditForm(EditSettings &edit, QSize size, int fontPoints, bool inputMethodOpen);

}  // namespace zk
