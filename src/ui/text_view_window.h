// A small always-on-top window that shows a text for reading and copying:
// the generated command line, or a help file no application would open.
#pragma once

#include <QPointer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QScreen;

namespace zk {

class Launcher;
struct AppState;

class TextViewWindow : public QWidget {
    Q_OBJECT
public:
    explicit TextViewWindow(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;
    QPlainTextEdit *editor() const { return m_edit; }
    QPushButton *copyButton() const { return m_copy; }

    // Places the window at the top-left of the screen's work area, with the
    // given fractions of its width and height.
    void placeAt(double widthFraction, double heightFraction, QScreen *screen = nullptr);

    // A new window (deleted when closed) that shows text, placed top-left,
    // half the screen wide and one sixth high.
    static TextViewWindow *showText(const QString &text, const QString &title, QWidget *parent = nullptr);

public Q_SLOTS:
    void copyToClipboard();

private:
    QPlainTextEdit *m_edit;
    QPushButton *m_copy;
};

// cmdMakeCommandLine: the command line of the state, ready to copy. When the
// settings cannot be written as a command line, a message box (open, not
// waited for) says why, and the result is null.
TextViewWindow *ShowCommandLineWindow(const AppState &state, QWidget *parent = nullptr);

// How a help file is placed once it is open.
enum class HelpPlacement {
    AsOpened,       // lblExecAp: where its application puts it
    TopLeftLarge,   // lblCommandline: top-left, two thirds wide, three quarters high
};

// The help labels: opens fileName ("command_line.txt", from the folder of the
// executable; or a full path) with the application of its type. Does nothing and returns
// false when the file is missing. When no application takes it, the text is
// shown in a TextViewWindow instead.
bool OpenHelpFile(Launcher &launcher, const QString &fileName, HelpPlacement placement, QWidget *parent = nullptr);

}  // namespace zk
