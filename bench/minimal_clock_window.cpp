// The reference of the idle-cost benchmark: the least a Qt window can do that
// shows a countdown, one label updated once a second.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label;
    label.setMinimumSize(240, 60);
    int remaining = 600;
    auto update = [&] {
        label.setText(QTime(0, 0).addSecs(remaining--).toString(QStringLiteral("hh:mm:ss")));
    };
    update();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, update);
    timer.start(1000);
    label.show();
    return app.exec();
}
