#include "monitors/cpu_sampler.h"

#include "core/text.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zk {

namespace {

constexpr int kTickGapMs = 10;  // between the end of one sample and the start of the next
// A longer span keeps this many samples (about 24 days); the condition still
// waits for the whole span since the start.
constexpr int kMaxRingSlots = 1 << 20;

// The shortest plain decimal text of x to 15 significant digits, without an
// exponent (the texts are read back with a leading-number parse).
QString DecimalText(double x)
{
    if (x == 0.0 || std::isnan(x))
        return QStringLiteral("0");
    const double rounded = QString::number(x, 'g', 15).toDouble();
    return QString::number(rounded, 'f', QLocale::FloatingPointShortest);
}

// 100 * Δbusy / Δtotal, or nullopt-like NaN when the readings do not allow it.
double Usage(const CpuCounters &a, const CpuCounters &b)
{
    const double dt = b.total - a.total;
    if (!a.valid || !b.valid || !(dt > 0))
        return std::nan("");
    return 100.0 * (b.busy - a.busy) / dt;
}

}  // namespace

QString FormatUsage(double x)
{
    const int w = int(DecimalText(std::floor(x)).size());
    const int pad = std::max(3 - w, 0);
    return (QString(pad, QLatin1Char(' ')) + DecimalText(x)).left(7);
}

int CpuRingSlots(const QString &averageSecondsText)
{
    const double n = std::floor(LeadingNumber(averageSecondsText) / 2.0 + 0.9);
    if (!(n >= 1))
        return 1;
    return n > kMaxRingSlots ? kMaxRingSlots : int(n);
}

QList<ProcessRow> SortProcesses(QList<ProcessRow> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const ProcessRow &a, const ProcessRow &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return rows;
}

QStringList ProcessSelectorItems(const QList<ProcessRow> &sorted)
{
    QStringList items;
    items.reserve(sorted.size());
    for (const ProcessRow &r : sorted)
        items << PadLeft(QString::number(r.pid), 5) + QLatin1Char(' ') + r.name;
    return items;
}

ProcessSelectorParts SplitProcessSelector(const QString &selector)
{
    qsizetype from = 0;
    while (from < selector.size() && selector.at(from) == QLatin1Char(' '))
        ++from;
    const qsizetype blank = selector.indexOf(QLatin1Char(' '), from);
    if (blank < 0)
        return {selector.mid(from), QString()};
    return {selector.mid(from, blank - from), selector.mid(blank + 1)};
}

qint64 FindProcessId(const QList<ProcessRow> &sorted, const QString &pidText, QString &name)
{
    const bool any = pidText == QLatin1String("?");
    const double wanted = any ? 0 : LeadingNumber(pidText);
    // The name as listed first; then with the blanks at its ends set aside
    // (a command line or a hand-written selector cannot keep them).
    for (const bool exact : {true, false}) {
        for (const ProcessRow &r : sorted) {
            const bool same = exact ? r.name.compare(name, Qt::CaseInsensitive) == 0
                                    : r.name.trimmed().compare(name.trimmed(), Qt::CaseInsensitive) == 0;
            if (!same)
                continue;
            if (any) {
                name = r.name;
                return r.pid;
            }
            if (double(r.pid) == wanted)
                return r.pid;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------

void CpuRing::reset(const QString &averageSecondsText)
{
    m_slots = QVector<double>(CpuRingSlots(averageSecondsText) + 1, 0.0);
}

void CpuRing::add(double x)
{
    m_sample = FormatUsage(x);
    const int n = int(m_slots.size()) - 1;
    if (++m_pos > n)
        m_pos = 1;
    // The stored value is the number shown.
    m_slots[m_pos] = LeadingNumber(m_sample);
    double sum = 0;
    for (int i = 1; i <= n; ++i)
        sum += m_slots[i];
    if (sum < 0)
        m_average = QStringLiteral(" -1");
    else if (sum == 0)
        m_average = QStringLiteral("  0");
    else
        m_average = FormatUsage(sum / n);
}

// ---------------------------------------------------------------------------

CpuSampler::CpuSampler(CpuCounterSource &source, int windowMs, QObject *parent) : QObject(parent), m_source(source)
{
    m_next.setSingleShot(true);
    m_next.setInterval(kTickGapMs);
    m_window.setSingleShot(true);
    m_window.setInterval(windowMs);
    connect(&m_next, &QTimer::timeout, this, &CpuSampler::windowStarts);
    connect(&m_window, &QTimer::timeout, this, &CpuSampler::windowEnds);
}

void CpuSampler::begin(const QString &averageSecondsText, const QString &lowerLimitText,
                       const QString &processSelector, bool sampling)
{
    ++m_run;
    m_next.stop();
    m_window.stop();
    m_ring.reset(averageSecondsText);
    m_limitText = lowerLimitText;
    m_selector = processSelector;
    m_measured = false;
    m_sampling = sampling;
    if (sampling)
        m_next.start();
}

void CpuSampler::stop(bool clearTexts)
{
    ++m_run;
    m_sampling = false;
    m_next.stop();
    m_window.stop();
    if (clearTexts)
        setTexts(QString(), QString());
}

QString CpuSampler::averageText() const
{
    // " ---" while the first sample is taken is no average.
    return m_measured ? m_averageText : QString();
}

void CpuSampler::requestProcessList()
{
    m_source.listProcesses(this, [this](const QList<ProcessRow> &rows) {
        Q_EMIT processListReady(ProcessSelectorItems(SortProcesses(rows)));
    });
}

void CpuSampler::windowStarts()
{
    if (!m_sampling)
        return;
    if (m_sampleText.isEmpty())
        setTexts(QStringLiteral(" start"), QStringLiteral(" ---"));

    if (m_selector.trimmed().isEmpty()) {
        m_pid = 0;
        startWindow();
        return;
    }
    const ProcessSelectorParts parts = SplitProcessSelector(m_selector);
    QString name = parts.name;
    if (parts.pidText == QLatin1String("?")) {
        // Any process of that name: the first in the sorted list.
        m_source.listProcesses(this, [this, run = m_run, name](const QList<ProcessRow> &rows) {
            if (run != m_run || !m_sampling)
                return;
            QString listed = name;
            const qint64 pid = FindProcessId(SortProcesses(rows), QStringLiteral("?"), listed);
            processFound(pid, listed);
        });
        return;
    }
    // The process of that id, when it has that name.
    const double wanted = LeadingNumber(parts.pidText);
    qint64 pid = 0;
    if (wanted >= 1 && wanted <= double(std::numeric_limits<qint32>::max())) {
        const QString listed = m_source.processName(qint64(wanted));
        if (!listed.isEmpty())
            pid = FindProcessId({ProcessRow{listed, qint64(wanted)}}, parts.pidText, name);
    }
    m_pid = pid < 1 ? -1 : pid;
    startWindow();
}

void CpuSampler::processFound(qint64 pid, const QString &name)
{
    m_pid = pid < 1 ? -1 : pid;
    if (pid >= 1) {
        m_selector = PadLeft(QString::number(pid), 5) + QLatin1Char(' ') + name;
        Q_EMIT selectorRewritten(m_selector);
    }
    startWindow();
}

void CpuSampler::startWindow()
{
    m_first = m_pid >= 0 ? m_source.read(m_pid) : CpuCounters();
    m_window.start();
}

void CpuSampler::windowEnds()
{
    if (!m_sampling)
        return;
    double x;
    if (m_pid < 0) {
        x = -1;  // no such process
    } else {
        const CpuCounters last = m_source.read(m_pid);
        const double u = Usage(m_first, last);
        if (m_pid > 0 && (!last.valid || !m_first.valid || last.identity != m_first.identity))
            x = -1;  // the process ended during the window
        else if (std::isnan(u))
            x = 100;  // unreadable counters must never look idle
        else
            x = std::min(100.0, std::max(0.0, u));
    }
    m_ring.add(x);
    m_measured = true;
    setTexts(m_ring.sampleText(), m_ring.averageText());
    m_next.start();
}

void CpuSampler::setTexts(const QString &sample, const QString &average)
{
    m_sampleText = sample;
    m_averageText = average;
    if (m_measured && !average.isEmpty())
        m_color = LeadingNumber(average) < LeadingNumber(m_limitText) ? kColorAverageBelow : kColorAverageAbove;
    Q_EMIT textsChanged(m_sampleText, m_averageText, m_color);
}

}  // namespace zk
