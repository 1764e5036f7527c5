#include "ui/popups.h"

#include "shell/tray_text.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zk {

QRect NoticeArea(const QWidget *near)
{
    QScreen *screen = near ? near->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

TrayNoticeWindow::TrayNoticeWindow(const QString &text, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frmTrayMsg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAccessibleName(tr("タスクトレイ収納"));
    setStyleSheet(QStringLiteral("QWidget#frmTrayMsg { background: #FFFFE0; border: 1px solid #808080; }"));
    m_label = new QLabel(tr("タスクトレイに収納しました。"), this);
    m_label->setObjectName(QStringLiteral("lblMsg"));
    m_label->setText(text);
    m_label->setAccessibleName(text);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(12, 10, 12, 10);
    lay->addWidget(m_label);
    adjustSize();

    const QRect area = NoticeArea(parent);
    move(area.right() - width() - 8, area.bottom() - height() - 8);
    m_screenRight = area.right() + 1;

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(kTrayNoticeMs);
    connect(&m_timer, &QTimer::timeout, this, &TrayNoticeWindow::tick);
    m_timer.start();
}

void TrayNoticeWindow::tick()
{
    if (m_step == 0) {
        // The pause is over: slide off, diagonally and accelerating.
        m_start = pos();
        m_timer.setInterval(kTraySlideStepMs);
    }
    ++m_step;
    move(TraySlidePosition(m_start, m_screenRight, m_step * kTraySlideStepMs));
    if (m_step * kTraySlideStepMs >= kTraySlideMs) {
        m_timer.stop();
        Q_EMIT finished();
        close();
    }
}

SplashWindow::SplashWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Zenkoro"));
    setAccessibleName(tr("通知"));

    m_msg = new QLabel(this);
    m_msg->setObjectName(QStringLiteral("lblMsg"));
    m_msg->setWordWrap(true);
    m_msg->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_msg->setMinimumWidth(260);
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("lblTime"));
    m_time->setAccessibleName(tr("残り秒数"));
    m_count = new QLabel(tr("秒後に閉じます"), this);
    m_count->setObjectName(QStringLiteral("lblCount"));
    m_count->setAccessibleName(m_count->text());
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
    m_ok->setDefault(true);

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(m_msg);
    auto *row = new QHBoxLayout;
    row->addWidget(m_time);
    row->addWidget(m_count);
    row->addStretch();
    row->addWidget(m_ok);
    lay->addLayout(row);

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::tick);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_time->clear();
        accept();
    });
    connect(this, &QDialog::finished, this, [this] {
        m_timer.stop();
        finishOnce();
    });
}

void SplashWindow::present(const PopupRequest &request, std::function<void()> closed)
{
    // A notice still waiting for its close hands over to the new one.
    if (isVisible())
        finishOnce();
    m_closed = std::move(closed);
    if (!request.title.isEmpty())
        setWindowTitle(request.title);
    m_msg->setText(request.text);
    m_msg->setAccessibleName(request.text);
    QPalette pal = m_msg->palette();
    pal.setColor(QPalette::WindowText, request.red ? QColor(255, 0, 0) : palette().color(QPalette::WindowText));
    m_msg->setPalette(pal);
    m_time->setText(request.seconds > 0 ? QString::number(request.seconds) : QString());
    m_time->setVisible(request.seconds > 0);
    m_count->setVisible(request.seconds > 0);
    setWindowModality(request.modal ? Qt::ApplicationModal : Qt::NonModal);
    adjustSize();
    const QRect area = NoticeArea(parentWidget());
    if (request.centred)
        move(area.center() - rect().center());
    else
        move(area.right() - width() - 8, area.bottom() - height() - 40);
    m_timer.start();
    // Modal or not, the form is only shown: the caller goes on and hears of
    // the close through `closed`, never through a nested event loop.
    show();
    raise();
}

void SplashWindow::tick()
{
    const SplashTick t = SplashCountdownTick(m_time->text(), m_timer.interval());
    if (m_time->text().trimmed().isEmpty())
        return;
    m_time->setText(t.secondsText);
    if (t.close) {
        m_timer.stop();
        done(QDialog::Accepted);
    }
}

void SplashWindow::finishOnce()
{
    auto closed = std::move(m_closed);
    m_closed = nullptr;
    if (closed)
        closed();
}

}  // namespace zk
