// The main window in the notification area: the icon, its menu, and the
// moves into and out of the tray.
#include "ui/main_window.h"

#include "run/run_engine.h"
#include "core/text.h"
#include "shell/tray_text.h"
#include "ui/panels/display_panel.h"
#include "ui/popups.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

namespace zk {

void MainWindow::buildTray()
{
    m_tray = new QSystemTrayIcon(this);
    // The program's own icon when the application has one.
    const QIcon own = QGuiApplication::windowIcon();
    m_tray->setIcon(own.isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon) : own);
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("mnuPopUp"));
    //: Tail of the tray menu's first item (after the version): it only closes the menu.
    QAction *close = m_trayMenu->addAction(QStringLiteral("Ver") + VersionText() + tr(" 〆"));
    close->setObjectName(QStringLiteral("mnuClose"));
    QAction *disp = m_trayMenu->addAction(tr("表示"));
    disp->setObjectName(QStringLiteral("mnuDisp"));
    QAction *spc = m_trayMenu->addSeparator();
    spc->setObjectName(QStringLiteral("mnuSpc1"));
    QAction *end = m_trayMenu->addAction(tr("終了"));
    end->setObjectName(QStringLiteral("mnuEnd"));
    connect(disp, &QAction::triggered, this, &MainWindow::trayShowAction);
    connect(end, &QAction::triggered, this, &MainWindow::unload);
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick)
            trayShowAction();
    });
}

void MainWindow::minimizeWindow()
{
    // In the tray the window stays hidden; a minimised window would come back.
    if (m_inTray)
        return;
    showMinimized();
}

void MainWindow::showInTray(const QString &tooltip)
{
    m_trayToolTip = CutTrayTooltip(tooltip);
    m_tray->setToolTip(m_trayToolTip);
    m_tray->show();
    m_inTray = true;
    // Without a notification area the icon cannot bring the window back:
    // the window goes to the task bar instead of disappearing.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        hide();
    else
        showMinimized();
    if (m_trayNotice)
        m_trayNotice->close();
    m_trayNotice = new TrayNoticeWindow(TrayNoticeText(m_trayToolTip), this);
    m_trayNotice->show();
}

void MainWindow::removeTrayIcon()
{
    m_tray->hide();
    m_inTray = false;
}

QString MainWindow::trayToolTip() const
{
    return m_inTray ? m_trayToolTip : QString();
}

void MainWindow::trayShowAction()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    removeTrayIcon();
}

void MainWindow::changeEvent(QEvent *event)
{
    // Minimising with the tray option puts the window into the tray.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) &&
        m_display->trayTicked() && !m_inTray && m_engine) {
        QTimer::singleShot(0, this, [this] {
            if (windowState() & Qt::WindowMinimized)
                showInTray(m_engine ? m_engine->trayTooltip() : QString());
        });
    }
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !outOfSight())
        showWaitingTexts();
}

}  // namespace zk
