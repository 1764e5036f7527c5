#include "ui/job_bindings.h"

#include "core/crlf.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace zk {

JobBindings::IntField JobBindings::field(int JobSettings::*member)
{
    return {[member](const JobSettings &j) { return j.*member; },
            [member](JobSettings &j, int v) { j.*member = v; }};
}

JobBindings::TextField JobBindings::field(QString JobSettings::*member)
{
    return {[member](const JobSettings &j) { return j.*member; },
            [member](JobSettings &j, const QString &v) { j.*member = v; }};
}

JobBindings::TextField JobBindings::resumePart(int index)
{
    return {[index](const JobSettings &j) { return j.ResumeDateParts[std::size_t(index)]; },
            [index](JobSettings &j, const QString &v) { j.ResumeDateParts[std::size_t(index)] = v; }};
}

JobBindings::IntField JobBindings::weekday(int w)
{
    return {[w](const JobSettings &j) { return j.resumeWeekday(w); },
            [w](JobSettings &j, int v) { j.setResumeWeekday(w, v); }};
}

void JobBindings::check(QCheckBox *box, IntField f, int use)
{
    m_rows.push_back({use, [box, f](const JobSettings &j) { box->setChecked(f.get(j) != 0); },
                      [box, f](JobSettings &j) { f.set(j, box->isChecked() ? 1 : 0); },
                      [box, f](QObject *context, Row::Sink sink) {
                          QObject::connect(box, &QCheckBox::toggled, context, [f, sink](bool on) {
                              sink([&](JobSettings &j) { f.set(j, on ? 1 : 0); });
                          });
                      }});
}

void JobBindings::text(QLineEdit *box, TextField f, int use)
{
    m_rows.push_back({use, [box, f](const JobSettings &j) { box->setText(f.get(j)); },
                      [box, f](JobSettings &j) { f.set(j, box->text()); },
                      [box, f](QObject *context, Row::Sink sink) {
                          QObject::connect(box, &QLineEdit::textChanged, context, [f, sink](const QString &t) {
                              sink([&](JobSettings &j) { f.set(j, t); });
                          });
                      }});
}

void JobBindings::editText(QComboBox *box, TextField f, int use)
{
    m_rows.push_back({use, [box, f](const JobSettings &j) { box->setEditText(f.get(j)); },
                      [box, f](JobSettings &j) { f.set(j, box->currentText()); },
                      [box, f](QObject *context, Row::Sink sink) {
                          QObject::connect(box, &QComboBox::editTextChanged, context, [f, sink](const QString &t) {
                              sink([&](JobSettings &j) { f.set(j, t); });
                          });
                      }});
}

void JobBindings::pickedText(QComboBox *box, TextField f, int use)
{
    auto show = [box](const QString &text) {
        int i = box->findText(text);
        if (i < 0 && !text.isEmpty()) {
            box->addItem(text);
            i = box->count() - 1;
        }
        box->setCurrentIndex(i < 0 ? 0 : i);
    };
    m_rows.push_back({use, [show, f](const JobSettings &j) { show(f.get(j)); },
                      [box, f](JobSettings &j) { f.set(j, box->currentText()); },
                      [box, f](QObject *context, Row::Sink sink) {
                          QObject::connect(box, &QComboBox::currentTextChanged, context, [f, sink](const QString &t) {
                              sink([&](JobSettings &j) { f.set(j, t); });
                          });
                      }});
}

void JobBindings::radios(QButtonGroup *group, IntField f, bool twoWay, int use)
{
    m_rows.push_back({use,
                      [group, f, twoWay](const JobSettings &j) {
                          const int v = f.get(j);
                          if (QAbstractButton *b = group->button(twoWay ? (v != 0 ? 1 : 0) : v))
                              b->setChecked(true);
                      },
                      [group, f, twoWay](JobSettings &j) {
                          const int id = std::max(0, group->checkedId());
                          f.set(j, twoWay ? (id != 0 ? 1 : 0) : id);
                      },
                      [group, f](QObject *context, Row::Sink sink) {
                          QObject::connect(group, &QButtonGroup::idToggled, context, [f, sink](int id, bool on) {
                              if (on)
                                  sink([&](JobSettings &j) { f.set(j, id); });
                          });
                      }});
}

void JobBindings::lines(QPlainTextEdit *box, TextField f, int use)
{
    m_rows.push_back({use,
                      [box, f](const JobSettings &j) {
                          QString shown = f.get(j);
                          shown.replace(kCrLf, QStringLiteral("\n"));
                          if (box->toPlainText() != shown)
                              box->setPlainText(shown);  // unchanged text keeps its cursor and undo
                      },
                      [box, f](JobSettings &j) {
                          QString t = box->toPlainText();
                          t.replace(QLatin1Char('\n'), kCrLf);
                          f.set(j, t);
                      },
                      [box, f](QObject *context, Row::Sink sink) {
                          QObject::connect(box, &QPlainTextEdit::textChanged, context, [box, f, sink] {
                              QString t = box->toPlainText();
                              t.replace(QLatin1Char('\n'), kCrLf);
                              sink([&](JobSettings &j) { f.set(j, t); });
                          });
                      }});
}

void JobBindings::load(const JobSettings &job) const
{
    for (const Row &r : m_rows)
        if (r.use & Load)
            r.load(job);
}

void JobBindings::store(JobSettings &job) const
{
    for (const Row &r : m_rows)
        if (r.use & Store)
            r.store(job);
}

void JobBindings::connectLive(QObject *context, std::function<JobSettings &()> target,
                              std::function<bool()> writing) const
{
    const Row::Sink sink = [target, writing](const std::function<void(JobSettings &)> &write) {
        if (writing())
            write(target());
    };
    for (const Row &r : m_rows)
        if (r.use & Live)
            r.live(context, sink);
}

}  // namespace zk
