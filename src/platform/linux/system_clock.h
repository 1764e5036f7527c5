#pragma once

#include "core/clock.h"

namespace zk {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace zk
