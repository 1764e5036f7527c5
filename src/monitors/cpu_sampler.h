// The CPU usage sampler: one sample of the whole machine or of one process
// every sample window, a ring of samples over the averaging span, and the
// texts of lblCPU使用率 and lbl平均 with the average's colour. The counters come
// from a CpuCounterSource; the window is timed with QTimer, never waited for.
// A process named by its id is looked at alone; the list of every process is
// asked for only to find a "? name" selector's process, and for the selector.
#pragma once

#include "core/ports/cpu_counters.h"
#include "core/ports/cpu_monitor.h"
#include "core/run_view.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

namespace zk {

inline constexpr int kCpuSampleWindowSeconds = 2;
inline constexpr RunColor kColorAverageBelow{255, 0, 0};  // average under the lower limit
inline constexpr RunColor kColorAverageAbove{0, 0, 255};  // average at or over it

// A usage in percent as the labels show it: right-aligned so that the whole
// part takes at least 3 characters, cut to 7 characters (" 12.345", "  0", " -1").
QString FormatUsage(double x);
// Slots of the ring for an averaging-seconds text: floor(seconds / 2 + 0.9),
// at least 1.
int CpuRingSlots(const QString &averageSecondsText);

// The process list sorted by name, ignoring case; equal names keep their order.
QList<ProcessRow> SortProcesses(QList<ProcessRow> rows);
// The entries of the process selector: the id right-aligned in 5, a blank, the name.
QStringList ProcessSelectorItems(const QList<ProcessRow> &sorted);
// The parts of a selector: the id text ("412", or "?" for any process of
// that name) and, after one blank, the name exactly as listed (a file name
// may begin or end with blanks of its own).
struct ProcessSelectorParts {
    QString pidText;
    QString name;
};
ProcessSelectorParts SplitProcessSelector(const QString &selector);
// The id of the process a selector names in the sorted list; 0 = none. With
// pidText "?" the first process of that name, and name takes its spelling.
// Names are compared as listed, ignoring case; only when no process has that
// name are the blanks at their ends set aside.
qint64 FindProcessId(const QList<ProcessRow> &sorted, const QString &pidText, QString &name);

// The ring of samples and the texts made from it.
class CpuRing {
public:
    // A fresh, empty ring for this averaging span; the write position is kept.
    void reset(const QString &averageSecondsText);
    // Stores the sample x (percent, or -1 for a process that has gone) and
    // makes the sample and average texts.
    void add(double x);
    QString sampleText() const { return m_sample; }
    QString averageText() const { return m_average; }
    int position() const { return m_pos; }

private:
    QVector<double> m_slots{0.0};  // slot 0 is never used
    QString m_secondsText;
    int m_pos = 0;
    QString m_sample;
    QString m_average;
};

class CpuSampler final : public QObject, public CpuMonitor {
    Q_OBJECT
public:
    explicit CpuSampler(CpuCounterSource &source, int windowMs = kCpuSampleWindowSeconds * 1000,
                        QObject *parent = nullptr);

    void begin(const QString &averageSecondsText, const QString &lowerLimitText, const QString &processSelector,
               bool sampling) override;
    void stop(bool clearTexts) override;
    QString averageText() const override;

    QString sampleText() const { return m_sampleText; }
    QString shownAverageText() const { return m_averageText; }
    RunColor averageColor() const { return m_color; }
    QString processSelector() const { return m_selector; }
    bool sampling() const { return m_sampling; }
    // Asks for the process selector's entries: processListReady brings them.
    void requestProcessList();

Q_SIGNALS:
    // The process selector's entries, the process list as it is now.
    void processListReady(const QStringList &items);
    // The texts of lblCPU使用率 and lbl平均, and lbl平均's colour.
    void textsChanged(const QString &sample, const QString &average, const zk::RunColor &averageColor);
    // A "? name" selector now names one process: "  412 name".
    void selectorRewritten(const QString &selector);

private:
    void windowStarts();
    // The process of a "? name" selector found (pid) or not (0) in the list.
    void processFound(qint64 pid, const QString &name);
    void startWindow();
    void windowEnds();
    void setTexts(const QString &sample, const QString &average);

    CpuCounterSource &m_source;
    CpuRing m_ring;
    QString m_limitText;
    QString m_selector;
    bool m_sampling = false;
    quint64 m_run = 0;        // counts starts and stops: a list asked for before is of no use
    bool m_measured = false;  // a sample of this run is in the ring
    QString m_sampleText;
    QString m_averageText;
    RunColor m_color = kColorAverageAbove;
    qint64 m_pid = 0;         // what the window measures: 0 the machine, -1 nothing (gone)
    CpuCounters m_first;
    QTimer m_next;            // the next window starts (Timer5)
    QTimer m_window;          // the window ends
};

}  // namespace zk
