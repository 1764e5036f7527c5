// Where the logic gets the time from. The program uses the system clock;
// tests use a clock they move by hand.
#pragma once

#include <QDateTime>

namespace zk {

class Clock {
public:
    virtual ~Clock() = default;
    // Local wall-clock time: clock times ("at 23:30") are due by it.
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that goes on counting while the machine is
    // suspended and is not moved when the wall clock is set (the boot
    // clock): spans ("in 60 minutes") are measured on it. Only differences
    // of its values mean anything.
    virtual qint64 bootMs() const = 0;
};

}  // namespace zk
