// The names systemd-logind answers to on the system bus.
#pragma once

#include <QString>

namespace zk::logind {

inline const QString kService = QStringLiteral("org.freedesktop.login1");
inline const QString kPath = QStringLiteral("/org/freedesktop/login1");
inline const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
inline const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
inline const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

}  // namespace zk::logind
