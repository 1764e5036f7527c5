#include "ui/panels/number_boxes.h"

#include "core/job_edit.h"

#include <QCoreApplication>
#include <QAbstractButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zk {

DigitsValidator::DigitsValidator(bool keepLeadingBlanks, std::function<bool()> loading, QObject *parent,
                                 bool keepPoints)
    : QValidator(parent), m_keepLeadingBlanks(keepLeadingBlanks), m_keepPoints(keepPoints),
      m_loading(std::move(loading))
{
}

QValidator::State DigitsValidator::validate(QString &input, int &pos) const
{
    if (m_loading())
        return Acceptable;
    const QString kept = DigitsOnly(input, m_keepLeadingBlanks, m_keepPoints);
    if (kept != input) {
        pos = int(DigitsOnly(input.left(pos), m_keepLeadingBlanks, m_keepPoints).size());
        input = kept;
    }
    return Acceptable;
}

void RepeatWhileHeld(QAbstractButton *button, QObject *context, std::function<void()> step)
{
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kSpinFirstRepeatMs);
    button->setAutoRepeatInterval(kSpinRepeatMs);
    // pressed comes with the press and with every repeat, never with the release.
    QObject::connect(button, &QAbstractButton::pressed, context, std::move(step));
}

QVBoxLayout *MakeSpinPair(QWidget *parent, QToolButton *(&pair)[2], const QString &name, const QString &what,
                          int width)
{
    auto *col = new QVBoxLayout;
    col->setSpacing(0);
    for (int i = 0; i < 2; ++i) {
        pair[i] = new QToolButton(parent);
        pair[i]->setObjectName(name + QLatin1Char('_') + QString::number(i));
        pair[i]->setText(i == 0 ? QStringLiteral("▲") : QStringLiteral("▼"));
        pair[i]->setAccessibleName(what + (i == 0 ? QCoreApplication::translate("zk::NumberBoxes", " 上") : QCoreApplication::translate("zk::NumberBoxes", " 下")));
        pair[i]->setFixedSize(width, 11);
        pair[i]->setStyleSheet(QStringLiteral("QToolButton { font-size: 6pt; padding: 0; }"));
        col->addWidget(pair[i]);
    }
    return col;
}

}  // namespace zk
