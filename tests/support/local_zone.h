// The process's local time zone set for one scope (TZ), for the days on
// which daylight saving time begins or ends.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <time.h>

namespace zktest {

class LocalZone {
public:
    explicit LocalZone(const char *zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone &) = delete;
    LocalZone &operator=(const LocalZone &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

}  // namespace zktest
