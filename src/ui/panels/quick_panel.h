// The immediate-action buttons (FrImmediate).
#pragma once

#include "core/job.h"

#include <QGroupBox>

class QPushButton;

namespace zk {

class QuickPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit QuickPanel(QWidget *parent);

Q_SIGNALS:
    // The button of operation `operationIndex` was clicked.
    void quickClicked(int operationIndex);

private:
    QPushButton *cmdQuick[5] = {};
};

}  // namespace zk
