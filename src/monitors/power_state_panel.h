// The rows of the power status window: power line, charge, percent, seconds
// and whether hibernation is allowed, refreshed once a second while it is open.
#pragma once

#include "core/ports/power.h"
#include "core/ports/power_status.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

namespace zk {

class PowerStatePanel final : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 5;
    static constexpr int kRefreshMs = 1000;

    // Either service may be missing: the status then reads as unsupported,
    // hibernation as not allowed.
    PowerStatePanel(PowerStatus *status, SessionPower *power, QObject *parent = nullptr);

    // "電源状態", "充電", "残量", "残秒", "休止".
    static const std::array<QString, kRows> &captions();
    const std::array<QString, kRows> &values() const { return m_values; }

    // One refresh: rows 0 to 3 from the status (a failed read writes
    // "非サポート" or "エラー" into row 0 and leaves the others), row 4 from
    // the hibernation answer, which comes later.
    void refresh();

Q_SIGNALS:
    // A value changed.
    void valuesChanged();

private:
    void setValue(int row, const QString &text);

    PowerStatus *m_status;
    QPointer<SessionPower> m_power;
    std::array<QString, kRows> m_values;
    bool m_asking = false;  // a hibernation question is on its way
};

}  // namespace zk
