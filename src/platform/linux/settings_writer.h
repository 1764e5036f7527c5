// Every write of the settings file: the file kinds it refuses, the
// unreadable file it keeps aside, and the owner it keeps.
#pragma once

#include "core/clock.h"
#include "core/job.h"
#include "settings/settings_file.h"

#include <QString>
#include <utility>
#include <functional>

namespace zk {

// Every write of the settings file goes through here. It writes only to a
// regular file (or through a symbolic link to one) or a new path, never over
// a directory, FIFO, device or socket. A file that was there but could not be
// read at start-up is kept aside before the first write instead of being
// replaced. A file rewritten by another user (an administrator scripting a
// user's settings) keeps its owner and group.
class SettingsWriter {
public:
    enum Result { Saved, Failed, Refused, NotKeptAside };

    SettingsWriter(QString path, SettingsFileStatus loaded, const Clock &clock)
        : m_path(std::move(path)), m_keepAside(loaded == SettingsFileStatus::Unreadable), m_clock(clock)
    {
    }

    // Shows a message box's title and text; each message is given once a run.
    std::function<void(const QString &title, const QString &text)> notify;

    // Writes the state; Refused and NotKeptAside leave the path untouched.
    Result write(const AppState &state, const QString &desktopDir);
    const QString &path() const { return m_path; }

private:
    void tell(bool &told, const QString &title, const QString &text);

    QString m_path;
    bool m_keepAside;
    const Clock &m_clock;
    bool m_refusalTold = false;
    bool m_notKeptTold = false;
    bool m_keptTold = false;
};


}  // namespace zk
