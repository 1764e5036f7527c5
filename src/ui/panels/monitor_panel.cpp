#include "ui/panels/monitor_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace zk {

MonitorPanel::MonitorPanel(PanelHost &host, QWidget *parent) : QGroupBox(tr("監視"), parent), JobPanel(host)
{
    setObjectName(QStringLiteral("fr監視"));
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setSpacing(3);

    chkMonitor = new QCheckBox(tr("監視する"), this);
    chkMonitor->setObjectName(QStringLiteral("chk監視"));
    lay->addWidget(chkMonitor);

    monitorKindGroup = new QButtonGroup(this);
    auto *kinds = new QHBoxLayout;
    const std::vector<MonitorKindSpec> &specs = MonitorKinds();
    for (int i = 0; i < int(specs.size()); ++i) {
        auto *b = new QRadioButton(specs[size_t(i)].caption, this);
        b->setObjectName(QStringLiteral("opt監視選択_") + QString::number(i));
        b->setToolTip(specs[size_t(i)].toolTip);
        monitorKindGroup->addButton(b, i);
        kinds->addWidget(b);
        optMonitorKind.push_back(b);
    }
    kinds->addStretch();
    lay->addLayout(kinds);

    monitorPages = new QStackedWidget(this);
    monitorPages->setObjectName(QStringLiteral("monitorPages"));
    for (const MonitorKindSpec &spec : specs) {
        MonitorPage *page = spec.makePage(m_host, monitorPages);
        monitorPages->addWidget(page);
        m_pages.push_back(page);
    }
    lay->addWidget(monitorPages);

    using B = JobBindings;
    m_bindings.check(chkMonitor, B::field(&JobSettings::MonitorEnabled));
    m_bindings.radios(monitorKindGroup, B::field(&JobSettings::MonitorKind), false);
    connectLive(this);

    connect(chkMonitor, &QCheckBox::toggled, this, &MonitorPanel::applyLayout);
    connect(monitorKindGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            applyLayout();
    });
    connect(chkMonitor, &QCheckBox::toggled, this, &MonitorPanel::watchChanged);
    connect(monitorKindGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            Q_EMIT watchChanged();
    });
}

void MonitorPanel::load(const JobSettings &job)
{
    JobPanel::load(job);
    for (MonitorPage *p : m_pages)
        p->load(job);
}

void MonitorPanel::store(JobSettings &job) const
{
    JobPanel::store(job);
    for (MonitorPage *p : m_pages)
        p->store(job);
}

void MonitorPanel::showOperationTips(const OperationTooltips &tips)
{
    chkMonitor->setToolTip(tips.monitorBox);
    for (MonitorPage *p : m_pages)
        p->showOperationTips(tips);
}

void MonitorPanel::applyLayout()
{
    const int kind = std::max(0, monitorKindGroup->checkedId());
    monitorPages->setCurrentIndex(kind);
    const bool on = chkMonitor->isChecked();
    for (QRadioButton *b : optMonitorKind)
        b->setEnabled(on);
    monitorPages->setEnabled(on);
    // Without a battery the battery kind has nothing to watch.
    if (m_noBattery)
        for (size_t i = 0; i < m_pages.size(); ++i)
            if (m_pages[i]->needsBattery())
                optMonitorKind[i]->setEnabled(false);
}

void MonitorPanel::setNoBattery(bool noBattery)
{
    m_noBattery = noBattery;
    applyLayout();
}

void MonitorPanel::setWatching(bool on)
{
    chkMonitor->setChecked(on);
}

void MonitorPanel::showPageFor(const QWidget *field)
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i]->showsForField(field))
            monitorPages->setCurrentIndex(int(i));
}

}  // namespace zk
