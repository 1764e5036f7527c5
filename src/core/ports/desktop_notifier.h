// The desktop's notification service: a notice beside the program's own
// windows, where the desktop shows such notices (over every window, also
// where a window cannot put itself on top).
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <utility>

namespace zk {

struct DesktopNotification {
    QString summary;
    QString body;
    bool critical = false;
    // (key, label) of each button; a press comes back as actionInvoked(id, key).
    QList<std::pair<QString, QString>> actions;
};

class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DesktopNotifier() override = default;

    // Sends the notice; `sent` is called later with its id, 0 when no service
    // took it (none present, or it refused). Never waits.
    virtual void notify(const DesktopNotification &notice, std::function<void(quint32 id)> sent) = 0;
    // Withdraws the notice of that id; 0 is ignored.
    virtual void close(quint32 id) = 0;

Q_SIGNALS:
    void actionInvoked(quint32 id, const QString &key);
};

}  // namespace zk
