// Where the logic gets the time from. The program uses the system clock;
// tests use a clock they move by hand.
#pragma once

#include <QDateTime>

namespace zk {

class Clock {
public:
    virtual ~Clock() = default;
    // Local wall-clock time.
    virtual QDateTime now() const = 0;
};

}  // namespace zk
