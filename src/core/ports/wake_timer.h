// A timer that wakes the machine from a suspend at a set time.
#pragma once

#include <QObject>
#include <QString>

namespace zk {

class WakeTimer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~WakeTimer() override = default;

    // Arms the timer to fire `seconds` from now (zero or less: at once).
    // Returns a handle, 0 on failure.
    virtual int arm(qint64 seconds) = 0;
    // Cancels the timer of that handle; a cancelled timer never fires. 0 is ignored.
    virtual void cancel(int handle) = 0;
    // Why a timer armed here could not wake the machine from a suspend, for
    // the user ("" = it can).
    virtual QString unavailableReason() const { return QString(); }

Q_SIGNALS:
    // The timer of that handle reached its time.
    void fired(int handle);
};

}  // namespace zk
