#include "ui/panels/phrase_page.h"

#include "ui/input_form.h"

#include <QButtonGroup>
#include <QPointer>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace zk {

PhrasePage::PhrasePage(PanelHost &host, QWidget *parent) : MonitorPage(host, parent)
{
    setObjectName(QStringLiteral("frPhrase"));
    auto *pl = new QGridLayout(this);
    pl->setContentsMargins(0, 0, 0, 0);
    lblPhrase = new QLabel(tr("文言"), this);
    lblPhrase->setObjectName(QStringLiteral("lbl文言"));
    txtPhrase = new QPlainTextEdit(this);
    txtPhrase->setObjectName(QStringLiteral("txt監視文言"));
    txtPhrase->setFixedHeight(44);
    txtPhrase->setTabChangesFocus(true);
    lblPhrase->setBuddy(txtPhrase);
    phraseEventGroup = new QButtonGroup(this);
    OptMsg[0] = new QRadioButton(tr("出現時"), this);
    OptMsg[0]->setObjectName(QStringLiteral("OptMsg_0"));
    OptMsg[0]->setToolTip(tr("上記の文言が含まれるポップアップメッセージ表示時に実行"));
    OptMsg[1] = new QRadioButton(tr("消失時"), this);
    OptMsg[1]->setObjectName(QStringLiteral("OptMsg_1"));
    OptMsg[1]->setToolTip(tr("上記の文言が画面上のポップアップメッセージから表示されなくなった時に実行"));
    phraseEventGroup->addButton(OptMsg[0], 0);
    phraseEventGroup->addButton(OptMsg[1], 1);
    chkIeMonitor = new QCheckBox(tr("文言監視にIEドキュメントを含める（負荷大）"), this);
    chkIeMonitor->setObjectName(QStringLiteral("chkIeMonitor"));
    pl->addWidget(lblPhrase, 0, 0, Qt::AlignTop);
    pl->addWidget(txtPhrase, 0, 1, 1, 2);
    pl->addWidget(OptMsg[0], 1, 1);
    pl->addWidget(OptMsg[1], 1, 2);
    pl->addWidget(chkIeMonitor, 2, 0, 1, 3);

    using B = JobBindings;
    m_bindings.radios(phraseEventGroup, B::field(&JobSettings::PhraseEvent), true);
    // Stored from the record: the text as loaded keeps its own line breaks.
    m_bindings.lines(txtPhrase, B::field(&JobSettings::MonitorPhrase), B::Load | B::Live);
    m_bindings.check(chkIeMonitor, B::field(&JobSettings::IeMonitor));
    connectLive(this);

    connect(phraseEventGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            txtPhrase->setToolTip(PhraseBoxTooltip(id));
    });
    connectInputForm();
}

void PhrasePage::connectInputForm()
{
    QPointer<QWidget> target(txtPhrase);
    OpenOnDoubleClick(txtPhrase, [this, target](QPoint at) {
        if (target)
            m_host.openInputFormOn(target, at, EditFormOpener::Phrase);
    });
}

void PhrasePage::load(const JobSettings &job)
{
    MonitorPage::load(job);
    txtPhrase->setToolTip(PhraseBoxTooltip(job.PhraseEvent != 0 ? 1 : 0));
}

void PhrasePage::showOperationTips(const OperationTooltips &tips)
{
    lblPhrase->setToolTip(tips.phraseLabel);
}

bool PhrasePage::showsForField(const QWidget *field) const
{
    return field == txtPhrase;
}

}  // namespace zk
