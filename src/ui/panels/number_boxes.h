// The typing rules of the main window's number boxes and their spinner buttons.
#pragma once

#include <QString>
#include <QValidator>
#include <functional>

class QAbstractButton;
class QLineEdit;
class QObject;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace zk {

// Spinner buttons held down: the first repeat, then every next one.
inline constexpr int kSpinFirstRepeatMs = 500;
inline constexpr int kSpinRepeatMs = 100;

// The number boxes take ASCII digits only: typed, pasted or dropped text
// keeps its digits (leading blanks too where the list texts are right-aligned
// with them, full stops in a decimal box). A value being shown from the
// record (loading() true) stays as it is: "1e+15" kept as a number's digits
// would read as another number.
class DigitsValidator : public QValidator {
public:
    DigitsValidator(bool keepLeadingBlanks, std::function<bool()> loading, QObject *parent, bool keepPoints = false);
    State validate(QString &input, int &pos) const override;

private:
    bool m_keepLeadingBlanks;
    bool m_keepPoints;
    std::function<bool()> m_loading;
};

// Spinner buttons: one step on the press, then repeats while held.
void RepeatWhileHeld(QAbstractButton *button, QObject *context, std::function<void()> step);

// A column of the two small spinner buttons ▲ (0) and ▼ (1), named
// `name`_0 and `name`_1 and read as "`what` 上" and "`what` 下".
QVBoxLayout *MakeSpinPair(QWidget *parent, QToolButton *(&pair)[2], const QString &name, const QString &what,
                          int width);

}  // namespace zk
