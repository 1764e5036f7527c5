// The watched conditions, by kind: the order of the kind buttons and pages.
#include "ui/panels/monitor_page.h"

#include "ui/panels/cpu_page.h"
#include "ui/panels/phrase_page.h"
#include "ui/panels/power_page.h"

#include <QCoreApplication>

namespace zk {

namespace {

template <typename Page>
MonitorPage *make(PanelHost &host, QWidget *parent)
{
    return new Page(host, parent);
}

}  // namespace

const std::vector<MonitorKindSpec> &MonitorKinds()
{
    static const std::vector<MonitorKindSpec> kinds = {
        {QCoreApplication::translate("zk::MonitorPanel", "出力文言"), QCoreApplication::translate("zk::MonitorPanel", "出力文言で監視"), make<PhrasePage>},
        {QCoreApplication::translate("zk::MonitorPanel", "CPU使用率"), QCoreApplication::translate("zk::MonitorPanel", "CPU使用率で監視"), make<CpuPage>},
        {QCoreApplication::translate("zk::MonitorPanel", "電源"), QCoreApplication::translate("zk::MonitorPanel", "電源（外部、バッテリー）を監視"), make<PowerPage>},
    };
    return kinds;
}

}  // namespace zk
