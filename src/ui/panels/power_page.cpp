#include "ui/panels/power_page.h"

#include "ui/panels/number_boxes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zk {

PowerPage::PowerPage(PanelHost &host, QWidget *parent) : MonitorPage(host, parent)
{
    setObjectName(QStringLiteral("frPower"));
    auto *pg = new QGridLayout(this);
    pg->setContentsMargins(0, 0, 0, 0);
    cmbTimePower = new QComboBox(this);
    cmbTimePower->setObjectName(QStringLiteral("cmbTimePower"));
    cmbTimePower->setEditable(true);
    cmbTimePower->setInsertPolicy(QComboBox::NoInsert);
    cmbTimePower->addItems({QStringLiteral("  0"), QStringLiteral(" 10"), QStringLiteral(" 20"), QStringLiteral(" 30"),
                            QStringLiteral(" 40"), QStringLiteral(" 50"), QStringLiteral(" 60"), QStringLiteral(" 90"),
                            QStringLiteral("120"), QStringLiteral("150")});
    cmbTimePower->setToolTip(tr("処理開始までの時間を秒単位で指定"));
    auto *lBat = new QLabel(tr("バッテリー動作時"), this);
    lBat->setObjectName(QStringLiteral("lblバッテリー動作時"));
    auto *lIdle = new QLabel(tr("秒間入力無い時に実行"), this);
    lIdle->setObjectName(QStringLiteral("lbl秒間入力無い時に実行"));
    lIdle->setBuddy(cmbTimePower);
    lblStatus = new QLabel(QString(), this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAccessibleName(tr("電源状態"));
    pg->addWidget(lBat, 0, 0);
    pg->addWidget(cmbTimePower, 0, 1);
    pg->addWidget(lIdle, 0, 2);
    pg->addWidget(lblStatus, 1, 0, 1, 2);
    cmdDspPowerState = new QPushButton(tr("電源状態"), this);
    cmdDspPowerState->setObjectName(QStringLiteral("cmdDspPowerState"));
    connect(cmdDspPowerState, &QPushButton::clicked, this, &PowerPage::powerStateRequested);
    pg->addWidget(cmdDspPowerState, 1, 2, Qt::AlignLeft);
    cmbTimePower->lineEdit()->setAccessibleName(tr("秒間入力無い時に実行"));
    cmbTimePower->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);

    m_bindings.editText(cmbTimePower, JobBindings::field(&JobSettings::IdleSeconds));
    connectLive(this);
    cmbTimePower->setValidator(new DigitsValidator(true, [this] { return m_host.loading(); }, cmbTimePower));
    // A typed number stays as typed, never completed to a list entry.
    cmbTimePower->setCompleter(nullptr);
}

void PowerPage::setLineStatusText(const QString &text)
{
    if (lblStatus->text() != text)
        lblStatus->setText(text);
}

}  // namespace zk
