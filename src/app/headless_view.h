// The view of a run without a display: captions and remaining times as lines
// on standard output, message boxes and notices on standard error, questions
// answered with their default. A refused or cancelled start ends the program
// with status 1.
#pragma once

#include "core/run_view.h"

#include <QString>
#include <cstdio>

namespace zk {

class HeadlessView final : public RunView {
public:
    explicit HeadlessView(std::FILE *out = stdout, std::FILE *err = stderr) : m_out(out), m_err(err) {}

    void setRemainingText(const QString &text) override;
    void setRemainingColor(const RunColor &) override {}
    void setRemainingFontSize(int) override {}
    void setCaption(const QString &caption) override;
    void setPhraseLabelVisible(bool) override {}
    void setResumeLabel(const QString &text) override;
    void setClockText(const QString &) override {}
    void setLineStatusText(const QString &) override {}
    void setRunLocked(bool) override {}
    void enableMultiAndQuick() override {}
    void settingsChanged() override {}
    void showWindowNormal() override {}
    void applyTopmost(bool) override {}
    void hideWindow() override {}
    void minimizeWindow() override {}
    void showInTray(const QString &) override {}
    void removeTrayIcon() override {}
    void showMessage(const QString &title, const QString &text, const QString &focusField) override;
    void askOkCancel(const QString &title, const QString &text, std::function<void(bool ok)> answer) override;
    void showMessagePopup(const PopupRequest &popup, std::function<void()> closed) override;
    void quit(int exitCode) override;

    // A message box's title and text as one block on standard error.
    void message(const QString &title, const QString &text);

private:
    void line(std::FILE *f, const QString &text);

    std::FILE *m_out;
    std::FILE *m_err;
    QString m_caption;
    QString m_remaining;
    QString m_resume;
};

}  // namespace zk
