#include "ui/steady_label.h"

#include <QEvent>

namespace zk {

SteadyLabelHost::SteadyLabelHost(QLabel *label, QWidget *parent) : QWidget(parent), m_label(label)
{
    m_label->setParent(this);
    setSizePolicy(m_label->sizePolicy());
    refit();
}

QSize SteadyLabelHost::sizeHint() const
{
    return m_hint;
}

QSize SteadyLabelHost::minimumSizeHint() const
{
    return m_minimum;
}

void SteadyLabelHost::refit()
{
    m_hint = m_label->sizeHint();
    m_minimum = m_label->minimumSizeHint();
    updateGeometry();
}

bool SteadyLabelHost::event(QEvent *event)
{
    // The label's new text asks for a new layout; only a text that needs
    // more room than the host has had gets one.
    if (event->type() == QEvent::LayoutRequest) {
        const QSize hint = m_hint.expandedTo(m_label->sizeHint());
        const QSize minimum = m_minimum.expandedTo(m_label->minimumSizeHint());
        if (hint != m_hint || minimum != m_minimum) {
            m_hint = hint;
            m_minimum = minimum;
            updateGeometry();
        }
        return true;
    }
    return QWidget::event(event);
}

void SteadyLabelHost::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_label->setGeometry(rect());
}

}  // namespace zk
