// fr連続 "時刻昇順": the twenty rows of the multi schedule in the main window.
// The rows are the AppState's MultiRows: every edit goes straight into them.
// The rules (spin steps, order, which rows show an application) are in
// core/multi_edit and core/job_edit.
#pragma once

#include "core/job.h"
#include "ui/time_row.h"

#include <QGroupBox>
#include <QStringList>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace zk {

class MultiScheduleFrame : public QGroupBox {
    Q_OBJECT
public:
    // makeRelative: a browsed program path made relative to the program folder.
    MultiScheduleFrame(AppState &state, std::function<QString(const QString &)> makeRelative,
                       QWidget *parent = nullptr);

    // The operation list of every row (the texts of the rows stay).
    void setOperations(const QStringList &items);
    // Shows the rows of the record again.
    void load();
    // HighlightMultiRow(SelectedMultiRow, row); SelectedMultiRow = row.
    void selectRow(int row);
    // The selected row during a run: selected and scrolled to (four rows above it stay in view).
    void showRunningRow(int row);
    int selectedRow() const;

    QLineEdit *hourBox(int row) const { return m_rows[size_t(row)].hour; }
    QLineEdit *minuteBox(int row) const { return m_rows[size_t(row)].minute; }
    QComboBox *operationBox(int row) const { return m_rows[size_t(row)].operation; }
    QLineEdit *applicationBox(int row) const { return m_rows[size_t(row)].application; }

Q_SIGNALS:
    // A double-click on a row's application box: the command input form
    // should open on its text (row 0..19).
    void applicationInputRequested(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row : TimeRowBoxes {
        QLabel *number = nullptr;
        std::array<QToolButton *, 4> spins{};  // UpH, DnH, UpM, DnM
        QComboBox *operation = nullptr;
        QToolButton *browse = nullptr;
    };
    void buildRow(QWidget *host, int i);
    void showRow(int i);
    void paintRow(int i, bool selected);
    void applyApplicationVisibility(int i);
    void move(bool up);
    void askClear();
    void browse(int i);
    int rowOf(QObject *o) const;

    AppState &m_state;
    std::function<QString(const QString &)> m_makeRelative;
    std::array<Row, kMultiRowCount> m_rows;
    QScrollArea *m_scroll = nullptr;
    int m_loading = 0;
};

}  // namespace zk
