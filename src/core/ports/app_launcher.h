// Starting the application after a resume (and the ap parameter).
#pragma once

#include <QString>

namespace zk {

class AppLauncher {
public:
    virtual ~AppLauncher() = default;
    // LaunchApplication(program, parameters): program unquoted, parameters as
    // typed. Both are in/out: they come back as the launch used them (the
    // launch-error popup shows them). False when nothing could be started.
    virtual bool launch(QString &program, QString &parameters) = 0;
};

}  // namespace zk
