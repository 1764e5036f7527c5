#include "ui/power_state_window.h"

#include <QGridLayout>
#include <QLabel>

namespace zk {

PowerStateWindow::PowerStateWindow(PowerStatus *status, SessionPower *power, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      m_panel(status, power)
{
    setObjectName(QStringLiteral("frmPowerState"));
    setWindowTitle(tr("電源状態表示"));
    auto *grid = new QGridLayout(this);
    for (int row = 0; row < PowerStatePanel::kRows; ++row) {
        auto *caption = new QLabel(PowerStatePanel::captions()[size_t(row)], this);
        caption->setObjectName(QStringLiteral("Label%1").arg(row));
        auto *value = new QLabel(this);
        value->setObjectName(QStringLiteral("lblValue%1").arg(row));
        value->setMinimumWidth(fontMetrics().horizontalAdvance(tr("バッテリなし")));
        caption->setBuddy(value);
        value->setAccessibleName(caption->text());
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        m_values[size_t(row)] = value;
    }
    m_timer.setInterval(PowerStatePanel::kRefreshMs);
    connect(&m_timer, &QTimer::timeout, &m_panel, &PowerStatePanel::refresh);
    connect(&m_panel, &PowerStatePanel::valuesChanged, this, &PowerStateWindow::showValues);
    showValues();
}

PowerStateWindow *PowerStateWindow::open(PowerStatus *status, SessionPower *power, QWidget *parent)
{
    auto *w = new PowerStateWindow(status, power, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    w->show();
    return w;
}

void PowerStateWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_panel.refresh();
    m_timer.start();
}

void PowerStateWindow::hideEvent(QHideEvent *event)
{
    m_timer.stop();
    QDialog::hideEvent(event);
}

void PowerStateWindow::showValues()
{
    for (int row = 0; row < PowerStatePanel::kRows; ++row)
        if (m_values[size_t(row)]->text() != m_panel.values()[size_t(row)])
            m_values[size_t(row)]->setText(m_panel.values()[size_t(row)]);
}

}  // namespace zk
