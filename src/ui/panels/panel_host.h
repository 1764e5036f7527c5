// What a panel of the main window may ask of the window that holds it. A
// panel knows no other panel: what concerns two of them goes through here or
// through the panel's signals, which the window connects.
#pragma once

#include "core/job.h"
#include "input/edit_form.h"

#include <QPoint>
#include <QString>
#include <functional>

class QWidget;

namespace zk {

class Clock;
class MainWindowServices;

class PanelHost {
public:
    virtual ~PanelHost() = default;
    // The record the panels show and edit.
    virtual AppState &state() = 0;
    virtual const Clock &clock() const = 0;
    virtual MainWindowServices &services() = 0;
    // True while the record is being shown: the handlers do not write back.
    virtual bool loading() const = 0;
    // True while a run holds the settings.
    virtual bool runLocked() const = 0;
    // The chosen operation and its text.
    virtual std::optional<OperationKind> operation() const = 0;
    virtual QString operationText() const = 0;
    // The window's caption follows the chosen operation.
    virtual void setCaptionForOperation() = 0;
    // Moves the focus to the control of that objectName, showing its part of
    // the window first.
    virtual void focusField(const QString &objectName) = 0;
    // A message box of the window; `done` gets the button that closed it.
    virtual void showBox(const QString &title, const QString &text, int buttons, int defaultButton,
                         std::function<void(int button)> done) = 0;
    // Saves the settings (with the window's current place); false on failure.
    virtual bool saveSettings() = 0;
    // The command input form on `box`.
    virtual void openInputFormOn(QWidget *box, QPoint pointer, EditFormOpener opener) = 0;
};

}  // namespace zk
