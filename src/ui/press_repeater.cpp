#include "ui/press_repeater.h"

#include <QAbstractButton>

namespace zk {

PressRepeater::PressRepeater(QAbstractButton *button, std::function<void()> step)
    : QObject(button), m_step(std::move(step))
{
    m_timer.setObjectName(QStringLiteral("Timer4"));
    connect(button, &QAbstractButton::pressed, this, &PressRepeater::pressed);
    connect(button, &QAbstractButton::released, this, &PressRepeater::released);
    connect(&m_timer, &QTimer::timeout, this, &PressRepeater::fire);
}

void PressRepeater::pressed()
{
    m_step();
    m_timer.start(kFirstRepeatMs);
}

void PressRepeater::fire()
{
    if (m_timer.interval() != kRepeatMs)
        m_timer.setInterval(kRepeatMs);
    m_step();
}

void PressRepeater::released()
{
    m_timer.stop();
}

}  // namespace zk
