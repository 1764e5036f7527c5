// The two small notice forms: frmTrayMsg, which announces the move to the
// tray and then slides off towards the lower right, and frmSplash, the popup
// notice with an optional seconds countdown.
#pragma once

#include "core/run_view.h"

#include <QDialog>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace zk {

// Lower-right corner of the work area of the screen that shows `near` (or the
// primary screen), where the notification area usually lies.
QRect NoticeArea(const QWidget *near);

class TrayNoticeWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrayNoticeWindow(const QString &text, QWidget *parent = nullptr);

    QLabel *label() const { return m_label; }
    QTimer *timer() { return &m_timer; }       // Timer1: the 2 s pause, then the slide steps
    // One timer round, as the timer does it.
    void tick();

Q_SIGNALS:
    void finished();

private:
    QLabel *m_label;
    QTimer m_timer;
    int m_step = 0;
    QPoint m_start;
    int m_screenRight = 0;
};

class SplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);

    // Shows the request (text non-empty); `closed` runs once when the form goes.
    void present(const PopupRequest &request, std::function<void()> closed);

    QLabel *messageLabel() const { return m_msg; }
    QLabel *secondsLabel() const { return m_time; }
    QPushButton *okButton() const { return m_ok; }
    QTimer *timer() { return &m_timer; }
    // One countdown second, as Timer1 does it.
    void tick();

private:
    void finishOnce();

    QLabel *m_msg;
    QLabel *m_time;
    QLabel *m_count;
    QPushButton *m_ok;
    QTimer m_timer;
    std::function<void()> m_closed;
};

}  // namespace zk
