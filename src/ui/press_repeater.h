// Press-and-hold repeat for spinner buttons: one step on the press, the
// first repeat 500 ms later, then one every 100 ms until the release.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QAbstractButton;

namespace zk {

class PressRepeater : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstRepeatMs = 500;
    static constexpr int kRepeatMs = 100;

    PressRepeater(QAbstractButton *button, std::function<void()> step);

    QTimer *timer() { return &m_timer; }
    // One repeat, as the timer does it.
    void fire();

private:
    void pressed();
    void released();

    std::function<void()> m_step;
    QTimer m_timer;
};

}  // namespace zk
