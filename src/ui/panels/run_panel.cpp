#include "ui/panels/run_panel.h"

#include "core/multi_edit.h"
#include "ui/ticker_label.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zk {

RunPanel::RunPanel(PanelHost &host, QWidget *parent) : QWidget(parent), JobPanel(host)
{
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(2);

    // The remaining time and the clock change every second.
    lblTime = new TickerLabel(this);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    lblTime->setAlignment(Qt::AlignCenter);
    QFont bold = lblTime->font();
    bold.setBold(true);
    lblTime->setFont(bold);
    lblTime->setAccessibleName(tr("残り時間"));
    lblTime->setMinimumHeight(64);
    lay->addWidget(lblTime);

    lblMsg = new QLabel(tr("監視文言状態検知！！"), this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setAlignment(Qt::AlignCenter);
    lblMsg->setStyleSheet(QStringLiteral("QLabel { color: #FF0000; font-weight: bold; }"));
    {
        // The label blinks once a second: its place stays reserved so that
        // the window does not jump with it.
        QSizePolicy sp = lblMsg->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        lblMsg->setSizePolicy(sp);
    }
    lblMsg->setVisible(false);
    lay->addWidget(lblMsg);

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    lblNow = new TickerLabel(this);
    lblNow->setObjectName(QStringLiteral("lbl現在時刻"));
    lblNow->setAccessibleName(tr("現在時刻"));
    lblNow->setToolTip(tr("現在時刻"));
    lblResumeAt = new QLabel(this);
    lblResumeAt->setObjectName(QStringLiteral("lbl復帰時分"));
    lblResumeAt->setAccessibleName(tr("復帰予定"));
    cmdStart = new QPushButton(StartButtonCaption(false), this);
    cmdStart->setObjectName(QStringLiteral("cmd実行"));
    cmdStop = new QPushButton(tr("中止"), this);
    cmdStop->setObjectName(QStringLiteral("cmd中止"));
    ChkMulti = new QCheckBox(tr("連続指定"), this);
    ChkMulti->setObjectName(QStringLiteral("ChkMulti"));
    chkExtended = new QCheckBox(tr("拡張設定"), this);
    chkExtended->setObjectName(QStringLiteral("chk拡張"));
    chkExtended->setToolTip(tr("監視・復帰・表示の設定を表示します"));
    row->addWidget(lblNow);
    row->addWidget(lblResumeAt);
    row->addStretch();
    row->addWidget(ChkMulti);
    row->addWidget(chkExtended);
    row->addWidget(cmdStart);
    row->addWidget(cmdStop);
    lay->addLayout(row);

    using B = JobBindings;
    m_bindings.check(ChkMulti, B::field(&JobSettings::MultiEnabled));
    m_bindings.check(chkExtended, B::field(&JobSettings::ExtendedMenu));
    connectLive(this);

    connect(ChkMulti, &QCheckBox::toggled, this, &RunPanel::multiToggled);
    connect(chkExtended, &QCheckBox::toggled, this, &RunPanel::extendedToggled);
    connect(cmdStart, &QPushButton::clicked, this, &RunPanel::startClicked);
    connect(cmdStop, &QPushButton::clicked, this, &RunPanel::stopClicked);
}

void RunPanel::showOperationTips(const OperationTooltips &tips)
{
    cmdStart->setToolTip(tips.startButton);
    cmdStop->setToolTip(tips.stopButton);
}

void RunPanel::setRemainingText(const QString &text)
{
    lblTime->setText(text);
}

void RunPanel::setRemainingColor(const RunColor &color)
{
    // A palette, not a style sheet: the label is painted every second.
    QPalette p = lblTime->palette();
    p.setColor(QPalette::WindowText, QColor(color.r, color.g, color.b));
    lblTime->setPalette(p);
}

void RunPanel::setRemainingFontSize(int points)
{
    QFont f = lblTime->font();
    if (f.pointSize() == points)
        return;
    f.setPointSize(points);
    lblTime->setFont(f);
}

void RunPanel::setPhraseLabelVisible(bool visible)
{
    lblMsg->setVisible(visible);
}

void RunPanel::setResumeLabel(const QString &text)
{
    lblResumeAt->setText(text);
}

void RunPanel::setClockText(const QString &text)
{
    lblNow->setText(text);
}

void RunPanel::showMultiCaption(bool multi)
{
    cmdStart->setText(StartButtonCaption(multi));
    cmdStart->setAccessibleName(cmdStart->text());
}

void RunPanel::setMultiEnabled(bool enabled)
{
    ChkMulti->setEnabled(enabled);
}

void RunPanel::setStartEnabled(bool enabled)
{
    cmdStart->setEnabled(enabled);
}

void RunPanel::setStopEnabled(bool enabled)
{
    cmdStop->setEnabled(enabled);
}

bool RunPanel::locked() const
{
    return !cmdStart->isEnabled();
}

bool RunPanel::multiTicked() const
{
    return ChkMulti->isChecked();
}

bool RunPanel::extendedTicked() const
{
    return chkExtended->isChecked();
}

void RunPanel::setExtended(bool on)
{
    chkExtended->setChecked(on);
}

}  // namespace zk
