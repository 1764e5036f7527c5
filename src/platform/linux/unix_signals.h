// SIGINT and SIGTERM delivered as a Qt signal on the main thread.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace zk {

class UnixSignals final : public QObject {
    Q_OBJECT
public:
    // Installs handlers for SIGINT and SIGTERM; one instance per process.
    explicit UnixSignals(QObject *parent = nullptr);
    ~UnixSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void onReadable();
    QSocketNotifier *m_notifier = nullptr;
};

}  // namespace zk
