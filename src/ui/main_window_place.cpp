// The main window's place and size on the screen, and the scrolling area of
// its contents.
#include "ui/main_window.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>

namespace zk {

namespace {

// The window's contents at the size they want; they scroll only where even
// their smallest size does not fit the screen.
class ContentsScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QScrollArea::sizeHint(); }
};

// The contents' layout. It claims no height-for-width (the wrapped help label
// has one): the scroll area would otherwise keep them at their full height.
class ContentsLayout : public QVBoxLayout {
public:
    using QVBoxLayout::QVBoxLayout;
    bool hasHeightForWidth() const override { return false; }
};

}  // namespace

QBoxLayout *MainWindow::buildContents()
{
    auto *scroll = new ContentsScroll(this);
    scroll->setObjectName(QStringLiteral("contentsScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    setCentralWidget(scroll);
    auto *central = new QWidget(scroll);
    central->setObjectName(QStringLiteral("centralWidget"));
    scroll->setWidget(central);
    auto *top = new ContentsLayout(central);
    top->setContentsMargins(6, 6, 6, 6);
    top->setSpacing(4);
    return top;
}

void MainWindow::recordPlacement()
{
    if (isVisible() && !isMinimized()) {
        // Window position in twips, as the settings file keeps it.
        m_state.WindowLeft = x() * kTwipsPerPixel;
        m_state.WindowTop = y() * kTwipsPerPixel;
    }
}

void MainWindow::placeAsStored()
{
    QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize wanted = sizeHint().expandedTo(minimumSizeHint());
    const QRect fitted = FitInArea(PlaceForStored(m_state.WindowLeft, m_state.WindowTop, wanted, area,
                                                  [](QPoint p) { return QGuiApplication::screenAt(p) != nullptr; }),
                                   wanted, area);
    resize(fitted.size());
    move(fitted.topLeft());
}

void MainWindow::fitToScreenLater()
{
    if (isVisible())
        QTimer::singleShot(0, this, &MainWindow::fitToScreen);
}

void MainWindow::fitToScreen()
{
    QScreen *shown = screen();
    if (!shown || isMaximized() || isFullScreen() || isMinimized())
        return;
    // The contents' new wanted size reaches the window through its scroll area.
    static_cast<QScrollArea *>(centralWidget())->widget()->layout()->activate();
    centralWidget()->updateGeometry();
    layout()->activate();
    // The frame the window manager adds counts against the work area too.
    const QSize frame = frameGeometry().size() - size();
    const QRect fitted = FitInArea(frameGeometry().topLeft(), sizeHint() + frame, shown->availableGeometry());
    resize(fitted.size() - frame);
    move(fitted.topLeft());
}

}  // namespace zk
