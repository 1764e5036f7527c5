// One page of the monitor panel: the controls of one watched condition. The
// pages are listed by kind in monitor_pages.cpp, in the order of the kind
// buttons (the record's MonitorKind).
#pragma once

#include "ui/panels/job_panel.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace zk {

class MonitorPage : public QWidget, public JobPanel {
    Q_OBJECT
public:
    MonitorPage(PanelHost &host, QWidget *parent) : QWidget(parent), JobPanel(host) {}
    // Whether the page's condition needs a battery to watch.
    virtual bool needsBattery() const { return false; }
    // Whether focusing `field` should bring this page forward.
    virtual bool showsForField(const QWidget *field) const
    {
        (void)field;
        return false;
    }
};

// A watched condition's kind button and its page.
struct MonitorKindSpec {
    QString caption;
    QString toolTip;
    std::function<MonitorPage *(PanelHost &host, QWidget *parent)> makePage;
};

// Every watched condition, by kind.
const std::vector<MonitorKindSpec> &MonitorKinds();

}  // namespace zk
