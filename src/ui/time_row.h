// One row of a table of times: the hour and minute boxes and the program to
// start, as the multi schedule and the weekly resume list both show them.
#pragma once

class QLineEdit;

namespace zk {

struct TimeRowBoxes {
    QLineEdit *hour = nullptr;
    QLineEdit *minute = nullptr;
    QLineEdit *application = nullptr;
};

}  // namespace zk
