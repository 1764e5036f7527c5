// A label that reports a left click (help labels, "All Clear", the input
// method label). The press is taken too, so a window that moves when dragged
// does not start a drag on it.
#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <functional>

namespace zk {

class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clicked;

protected:
    void mousePressEvent(QMouseEvent *e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton && clicked)
            clicked();
        e->accept();
    }
};

}  // namespace zk
