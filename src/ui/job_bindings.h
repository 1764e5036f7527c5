// One table of {control, job field} rows for the main window: it shows the
// record in the controls, writes the controls back into a record, and wires
// each control so that the user's edits reach the record at once.
#pragma once

#include "core/job.h"

#include <QString>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QObject;
class QPlainTextEdit;
class QWidget;

namespace zk {

class JobBindings {
public:
    // How a row reaches its field.
    struct IntField {
        std::function<int(const JobSettings &)> get;
        std::function<void(JobSettings &, int)> set;
    };
    struct TextField {
        std::function<QString(const JobSettings &)> get;
        std::function<void(JobSettings &, const QString &)> set;
    };
    static IntField field(int JobSettings::*member);
    static TextField field(QString JobSettings::*member);
    static TextField resumePart(int index);  // ResumeDateParts[index]
    static IntField weekday(int w);          // weekday box w, 1 = Sunday .. 7 = Saturday

    // What a row takes part in.
    enum Use { Load = 1, Store = 2, Live = 4, All = Load | Store | Live };

    // Check box <-> 0/1.
    void check(QCheckBox *box, IntField f, int use = All);
    // Line edit <-> its text.
    void text(QLineEdit *box, TextField f, int use = All);
    // Editable list <-> its edit text.
    void editText(QComboBox *box, TextField f, int use = All);
    // Fixed list <-> the picked entry's text (a text not in the list is added).
    void pickedText(QComboBox *box, TextField f, int use = All);
    // Radio group <-> the checked button's id. twoWay: any value but 0 checks
    // button 1; otherwise a value without a button leaves the group as it is.
    void radios(QButtonGroup *group, IntField f, bool twoWay, int use = All);
    // Multi-line box <-> a text with CR LF line breaks.
    void lines(QPlainTextEdit *box, TextField f, int use = All);

    // Every Load row, in the order the rows were added.
    void load(const JobSettings &job) const;
    // Every Store row.
    void store(JobSettings &job) const;
    // Every Live row writes the user's edits into target() while writing()
    // holds. Connect this before any other handler of the same controls, so
    // that those handlers see the new value in the record.
    void connectLive(QObject *context, std::function<JobSettings &()> target, std::function<bool()> writing) const;

private:
    struct Row {
        int use;
        std::function<void(const JobSettings &)> load;
        std::function<void(JobSettings &)> store;
        // Connects the control: on each change it hands the row's write to the sink.
        using Sink = std::function<void(const std::function<void(JobSettings &)> &write)>;
        std::function<void(QObject *context, Sink sink)> live;
    };
    std::vector<Row> m_rows;
};

}  // namespace zk
