// A one-line label for a text that changes every second (the remaining time,
// the clock). Unlike QLabel, a new text repaints only where the text is and
// asks the window for a new layout only when it needs more room than it has
// had so far, so the countdown costs one small repaint a second.
#pragma once

#include <QWidget>

namespace zk {

class TickerLabel : public QWidget {
    Q_OBJECT
public:
    explicit TickerLabel(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    void setAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QRect textRect(const QString &text) const;
    int widthFor(const QString &text) const;

    QString m_text;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int m_widest = 0;  // the widest text so far, in pixels
};

}  // namespace zk
