// frmMyComboBox: the drop-down list of the application box's history, drawn
// by the program itself: rows with alternate back colours and word colours,
// a scroll bar that keeps the keyboard focus, the arrow keys, Enter and
// Delete. The rows and every rule come from input/command_history.
#pragma once

#include "input/command_history.h"

#include <QFrame>
#include <QList>
#include <QPointer>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace zk {

class HistoryListWindow final : public QFrame {
    Q_OBJECT
public:
    // A list for `box` over the history in `state`; placed under the box
    // (above it near the screen's bottom), shown, deleted when it closes.
    static HistoryListWindow *open(QLineEdit *box, AppState &state);

    const HistoryList &list() const { return m_list; }
    int currentRow() const { return m_list.current; }
    QLabel *rowLabel(int row) const { return m_labels.value(row); }
    void setCurrentRow(int row);
    void choose(int row);   // a click: the box takes the row's text
    void deleteRow(int row);  // Delete

Q_SIGNALS:
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    HistoryListWindow(QLineEdit *box, AppState &state);
    void paintRow(int row, bool highlighted);
    void scrollTo(int row);
    void closeList();

    QPointer<QLineEdit> m_box;
    AppState &m_state;
    HistoryList m_list;
    int m_rowHeight = 0;
    int m_visibleRows = 0;
    bool m_closing = false;
    bool m_reported = false;
    QWidget *picIn = nullptr;
    QList<QLabel *> m_labels;
    QScrollBar *VS = nullptr;
};

}  // namespace zk
