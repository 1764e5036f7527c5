#include "ui/history_list.h"

#include "shell/window_place.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>

namespace zk {

namespace {

QColor ToColor(const RunColor &c)
{
    return QColor(c.r, c.g, c.b);
}

}  // namespace

HistoryListWindow *HistoryListWindow::open(QLineEdit *box, AppState &state)
{
    auto *w = new HistoryListWindow(box, state);
    const QRect boxOnScreen(box->mapToGlobal(QPoint(0, 0)), box->size());
    QScreen *screen = QGuiApplication::screenAt(boxOnScreen.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    w->move(PlaceUnderBox(boxOnScreen, w->size(), area));
    w->show();
    w->VS->setFocus(Qt::PopupFocusReason);
    return w;
}

HistoryListWindow::HistoryListWindow(QLineEdit *box, AppState &state)
    : QFrame(box, Qt::Popup | Qt::FramelessWindowHint), m_box(box), m_state(state)
{
    setObjectName(QStringLiteral("frmMyComboBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Box);
    setLineWidth(1);

    m_list = OpenHistoryList(state.history, state.ActiveOddColor, state.ActiveColors, box->text());

    auto *clip = new QWidget(this);
    picIn = new QWidget(clip);
    picIn->setObjectName(QStringLiteral("picIn"));
    VS = new QScrollBar(Qt::Vertical, this);
    VS->setObjectName(QStringLiteral("VS"));
    VS->setAccessibleName(tr("履歴"));
    VS->setFocusPolicy(Qt::StrongFocus);
    VS->installEventFilter(this);

    const int width = std::max(box->width(), 160);
    const int n = int(m_list.rows.size());
    for (int i = 0; i < n; ++i) {
        auto *l = new QLabel(m_list.rows[i].text, picIn);
        l->setObjectName(QStringLiteral("lblItem_%1").arg(i + 1));
        l->setToolTip(m_list.rows[i].text);
        l->setAutoFillBackground(true);
        l->setMouseTracking(true);
        l->setContentsMargins(3, 1, 3, 1);
        l->installEventFilter(this);
        m_labels.append(l);
    }
    m_rowHeight = n > 0 ? m_labels[0]->sizeHint().height() : fontMetrics().height() + 2;
    m_visibleRows = std::clamp(std::min(n, m_state.history.HistoryRows), 1, kHistoryRowsMax);
    const int rowsWidth = width - VS->sizeHint().width();
    for (int i = 0; i < n; ++i) {
        m_labels[i]->setGeometry(0, i * m_rowHeight, rowsWidth, m_rowHeight);
        paintRow(i, false);
    }
    picIn->resize(rowsWidth, std::max(1, n) * m_rowHeight);
    clip->setFixedSize(rowsWidth, m_visibleRows * m_rowHeight);
    VS->setRange(0, std::max(0, n - m_visibleRows));
    VS->setPageStep(m_visibleRows);
    VS->setSingleStep(1);
    connect(VS, &QScrollBar::valueChanged, this, [this](int v) { picIn->move(0, -v * m_rowHeight); });

    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(1, 1, 1, 1);
    lay->setSpacing(0);
    lay->addWidget(clip);
    lay->addWidget(VS);
    adjustSize();

    if (m_list.current >= 0) {
        const int current = std::exchange(m_list.current, -1);
        setCurrentRow(current);
    }
}

void HistoryListWindow::paintRow(int row, bool highlighted)
{
    QLabel *l = m_labels.value(row);
    if (!l)
        return;
    const HistoryRow &r = m_list.rows[row];
    const QPalette base = QApplication::palette();
    QPalette p = l->palette();
    if (highlighted) {
        p.setColor(QPalette::Window, base.color(QPalette::Highlight));
        p.setColor(QPalette::WindowText, base.color(QPalette::HighlightedText));
    } else {
        p.setColor(QPalette::Window, r.oddBack ? ToColor(*m_list.oddColor) : base.color(QPalette::Base));
        p.setColor(QPalette::WindowText, r.textColor ? ToColor(*r.textColor) : base.color(QPalette::Text));
    }
    l->setPalette(p);
}

void HistoryListWindow::setCurrentRow(int row)
{
    if (row < 0 || row >= m_labels.size())
        return;
    if (m_list.current >= 0)
        paintRow(m_list.current, false);
    m_list.current = row;
    paintRow(row, true);
    scrollTo(row);
}

void HistoryListWindow::scrollTo(int row)
{
    if (row < VS->value())
        VS->setValue(row);
    else if (row >= VS->value() + m_visibleRows)
        VS->setValue(row - m_visibleRows + 1);
}

void HistoryListWindow::choose(int row)
{
    if (row < 0 || row >= m_list.rows.size())
        return;
    if (m_box)
        m_box->setText(m_list.rows[row].text);
    closeList();
}

void HistoryListWindow::deleteRow(int row)
{
    if (row < 0 || row >= m_list.rows.size())
        return;
    RemoveHistoryEntry(m_state.history, m_list.rows[row]);
    closeList();
}

void HistoryListWindow::closeList()
{
    if (m_closing)
        return;
    m_closing = true;
    close();
}

void HistoryListWindow::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    // Closed by any means (a click outside closes a popup too).
    m_closing = true;
    if (!m_reported) {
        m_reported = true;
        Q_EMIT closed();
    }
}

bool HistoryListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == VS) {
        if (event->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(event);
            const int n = int(m_list.rows.size());
            switch (k->key()) {
            case Qt::Key_Up:
                setCurrentRow(StepHistoryRow(m_list.current, -1, n));
                return true;
            case Qt::Key_Down:
                setCurrentRow(StepHistoryRow(m_list.current, 1, n));
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                choose(m_list.current);
                return true;
            case Qt::Key_Delete:
                deleteRow(m_list.current);
                return true;
            case Qt::Key_Escape:
                closeList();
                return true;
            default:
                break;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason)
                closeList();
        }
        return false;
    }
    const int row = int(m_labels.indexOf(qobject_cast<QLabel *>(watched)));
    if (row < 0)
        return false;
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        if (row != m_list.current)
            setCurrentRow(row);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        choose(row);
        return true;
    }
    return false;
}

}  // namespace zk
