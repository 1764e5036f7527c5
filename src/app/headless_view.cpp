#include "app/headless_view.h"

#include "core/crlf.h"

#include <QCoreApplication>

namespace zk {

namespace {
QString Lines(QString text)
{
    text.replace(kCrLf, QStringLiteral("\n"));
    return text;
}
}  // namespace

void HeadlessView::line(std::FILE *f, const QString &text)
{
    std::fputs(text.toUtf8().constData(), f);
    std::fputc('\n', f);
    std::fflush(f);
}

void HeadlessView::setRemainingText(const QString &text)
{
    if (text == m_remaining)
        return;
    m_remaining = text;
    if (!text.isEmpty())
        line(m_out, Lines(text));
}

void HeadlessView::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    line(m_out, caption);
}

void HeadlessView::setResumeLabel(const QString &text)
{
    if (text == m_resume)
        return;
    m_resume = text;
    if (!text.isEmpty())
        line(m_out, text);
}

void HeadlessView::message(const QString &title, const QString &text)
{
    line(m_err, title + QStringLiteral(": ") + Lines(text));
}

// Without a display nobody can correct a refused start, so the program ends
// with a failure status instead of waiting for ever.
void HeadlessView::showMessage(const QString &title, const QString &text, const QString &)
{
    message(title, text);
    quit(1);
}

void HeadlessView::askOkCancel(const QString &title, const QString &text, std::function<void(bool)> answer)
{
    message(title, text);
    line(m_err, QCoreApplication::translate("HeadlessView", "(表示がないため既定の「キャンセル」で答えます)"));
    if (answer)
        answer(false);
    quit(1);
}

void HeadlessView::showMessagePopup(const PopupRequest &popup, std::function<void()> closed)
{
    message(popup.title.isEmpty() ? QStringLiteral("Zenkoro") : popup.title, popup.text);
    if (closed)
        closed();
}

void HeadlessView::quit(int exitCode)
{
    // Queued, so that an end requested before the event loop runs still counts.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

}  // namespace zk
