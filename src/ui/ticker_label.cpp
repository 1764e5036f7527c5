#include "ui/ticker_label.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace zk {

namespace {

constexpr int kMargin = 2;  // around the text, as a QLabel's frameless margin and indent

}  // namespace

TickerLabel::TickerLabel(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

int TickerLabel::widthFor(const QString &text) const
{
    return fontMetrics().horizontalAdvance(text) + 2 * kMargin;
}

void TickerLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    const QRect before = textRect(m_text);
    m_text = text;
    const int width = widthFor(text);
    if (width > m_widest) {
        m_widest = width;
        updateGeometry();
    }
    update(before.united(textRect(text)));
}

void TickerLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QRect TickerLabel::textRect(const QString &text) const
{
    if (text.isEmpty())
        return {};
    const QRect area = rect().adjusted(kMargin, 0, -kMargin, 0);
    // One pixel more on each side for glyphs that reach over their advance.
    return QStyle::alignedRect(layoutDirection(), m_alignment, QSize(widthFor(text), area.height()), area)
        .adjusted(-kMargin, 0, kMargin, 0);
}

QSize TickerLabel::sizeHint() const
{
    return {std::max(m_widest, widthFor(QStringLiteral("00:00:00"))), fontMetrics().height() + 2 * kMargin};
}

QSize TickerLabel::minimumSizeHint() const
{
    return sizeHint();
}

void TickerLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(palette().color(foregroundRole()));
    p.drawText(rect().adjusted(kMargin, 0, -kMargin, 0), int(m_alignment), m_text);
}

void TickerLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_widest = widthFor(m_text);
        updateGeometry();
        update();
    } else if (event->type() == QEvent::PaletteChange) {
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace zk
