#include "ui/text_view_window.h"

#include "core/command_line_generator.h"
#include "core/launcher.h"

#include <QClipboard>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zk {

TextViewWindow::TextViewWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      m_edit(new QPlainTextEdit(this)),
      m_copy(new QPushButton(tr("コピー"), this))
{
    setObjectName(QStringLiteral("frmTextView"));
    m_edit->setObjectName(QStringLiteral("txtView"));
    m_edit->setReadOnly(true);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_copy->setObjectName(QStringLiteral("cmdCopy"));
    auto *close = new QPushButton(tr("閉じる"), this);
    close->setObjectName(QStringLiteral("cmdClose"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_copy);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_edit, 1);
    layout->addLayout(buttons);

    connect(m_copy, &QPushButton::clicked, this, &TextViewWindow::copyToClipboard);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void TextViewWindow::setText(const QString &text)
{
    m_edit->setPlainText(text);
}

QString TextViewWindow::text() const
{
    return m_edit->toPlainText();
}

void TextViewWindow::copyToClipboard()
{
    // The selection when there is one, else everything.
    const QString selected = m_edit->textCursor().selectedText();
    QString text = selected.isEmpty() ? m_edit->toPlainText() : selected;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setText(text);
}

void TextViewWindow::placeAt(double widthFraction, double heightFraction, QScreen *screen)
{
    if (!screen)
        screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int w = std::max(200, int(area.width() * widthFraction));
    const int h = std::max(80, int(area.height() * heightFraction));
    // The outer corner of the window goes to the corner of the work area.
    resize(w, h);
    move(area.topLeft());
}

TextViewWindow *TextViewWindow::showText(const QString &text, const QString &title, QWidget *parent)
{
    auto *w = new TextViewWindow(parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowTitle(title);
    w->setText(text);
    w->placeAt(1.0 / 2.0, 1.0 / 6.0);
    w->show();
    w->raise();
    return w;
}

TextViewWindow *ShowCommandLineWindow(const AppState &state, QWidget *parent)
{
    QString error;
    const QString line = BuildCommandLine(state, &error);
    if (line.isEmpty()) {
        auto *box = new QMessageBox(QMessageBox::NoIcon, TextViewWindow::tr("コマンドライン生成"), error, QMessageBox::Ok,
                                    parent);
        box->setObjectName(QStringLiteral("msgBox"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box->open();
        return nullptr;
    }
    return TextViewWindow::showText(line + QLatin1Char(' '), TextViewWindow::tr("コマンドライン"), parent);
}

bool OpenHelpFile(Launcher &launcher, const QString &fileName, HelpPlacement placement, QWidget *parent)
{
    // A bare name is taken from the program's folder.
    QString path = QDir::isAbsolutePath(fileName) ? fileName : launcher.programFolder() + QLatin1Char('/') + fileName;
    if (!QFileInfo(path).isFile())
        return false;
    QString parameters;
    const qint64 result = launcher.launchApplication(path, parameters);
    if (result == 0) {
        // No application took it: show the text ourselves.
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        auto *w = TextViewWindow::showText(QString::fromUtf8(f.read(1024 * 1024)), QFileInfo(path).fileName(), parent);
        if (placement == HelpPlacement::TopLeftLarge)
            w->placeAt(2.0 / 3.0, 3.0 / 4.0);
        return true;
    }
    if (placement == HelpPlacement::TopLeftLarge && result > 1) {
        // Once the viewer runs, find its window and give it room.
        QPointer<Launcher> guard(&launcher);
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = QObject::connect(&launcher, &Launcher::processSettled, &launcher,
                                       [guard, connection, result](qint64 pid, bool running) {
                                           if (pid != result)
                                               return;
                                           QObject::disconnect(*connection);
                                           if (!running || !guard)
                                               return;
                                           QString list;
                                           const quint64 window = guard->findProcessWindow(pid, list);
                                           const QScreen *screen = QGuiApplication::primaryScreen();
                                           if (!window || !screen)
                                               return;
                                           const QRect g = screen->geometry();
                                           guard->placeWindow(window, 0, 0, g.width() * 2 / 3, g.height() * 3 / 4);
                                       });
    }
    return true;
}

}  // namespace zk
