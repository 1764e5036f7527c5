// frmWeek "復帰リスト": the weekly resume table, one row for the default and
// one for each weekday. It edits a copy; Ok hands the copy back, Cancel drops
// it. The spin and emptying rules are in resume/weekly_resume.
#pragma once

#include "resume/weekly_resume.h"
#include "ui/time_row.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace zk {

class WeekWindow : public QDialog {
    Q_OBJECT
public:
    // weekdays: the main window's weekday boxes ([0] = Sunday); an unticked
    // day's row is grey but stays editable. makeRelative: a browsed program
    // path made relative to the program folder.
    WeekWindow(const WeeklyTable &table, const std::array<int, 7> &weekdays, const QString &lastProgramFolder,
               std::function<QString(const QString &)> makeRelative, QWidget *parent = nullptr);

    // The rows as the boxes hold them (what Ok copies into the table).
    WeeklyTable table() const;
    QString lastProgramFolder() const { return m_lastFolder; }

    QLineEdit *hourBox(int row) const { return m_rows[size_t(row)].hour; }
    QLineEdit *minuteBox(int row) const { return m_rows[size_t(row)].minute; }
    QLineEdit *applicationBox(int row) const { return m_rows[size_t(row)].application; }

Q_SIGNALS:
    // A double-click on a row's application box (row 0 = 基本 .. 7 = 土曜):
    // the command input form should open on its text.
    void applicationInputRequested(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Row = TimeRowBoxes;
    void spin(int row, bool hourBox, int direction);
    void askClear();
    void browse(int row);

    std::array<Row, kWeeklyRowCount> m_rows;
    QString m_lastFolder;
    std::function<QString(const QString &)> m_makeRelative;
};

}  // namespace zk
