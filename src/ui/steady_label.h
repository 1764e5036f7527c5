// A label whose text changes every second (the remaining time, the clock)
// without laying the whole window out again each time: it sits alone in a
// host without a layout, and the host asks for more room only when the text
// needs more than it has had so far.
#pragma once

#include <QLabel>

namespace zk {

class SteadyLabelHost : public QWidget {
public:
    // The label is made a child of the host and fills it.
    SteadyLabelHost(QLabel *label, QWidget *parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Forget the room taken so far (after a change of font).
    void refit();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *m_label;
    QSize m_hint;
    QSize m_minimum;
};

}  // namespace zk
