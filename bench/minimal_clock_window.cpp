// The references of the idle-cost benchmark: the least a Qt window can do that
// shows a countdown, one label updated once a second; with --same-work, the
// least that shows what the countdown window shows every second: the
// remaining time, the wall clock in a second label, and the remaining time in
// the caption (which the task bar shows).
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int remaining = 600;
    auto remainingText = [&remaining] { return QTime(0, 0).addSecs(remaining--).toString(QStringLiteral("hh:mm:ss")); };
    QTimer timer;
    timer.start(1000);

    if (!app.arguments().contains(QStringLiteral("--same-work"))) {
        QLabel label;
        label.setMinimumSize(240, 60);
        auto update = [&] { label.setText(remainingText()); };
        update();
        QObject::connect(&timer, &QTimer::timeout, &label, update);
        label.show();
        return app.exec();
    }

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *label = new QLabel(&window);
    label->setMinimumSize(240, 60);
    auto *clock = new QLabel(&window);
    layout->addWidget(label);
    layout->addWidget(clock);
    auto update = [&] {
        const QString text = remainingText();
        label->setText(text);
        clock->setText(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")));
        window.setWindowTitle(text + QStringLiteral(" 　予定時刻 12月07日 12時02分"));
    };
    update();
    QObject::connect(&timer, &QTimer::timeout, &window, update);
    window.show();
    return app.exec();
}
