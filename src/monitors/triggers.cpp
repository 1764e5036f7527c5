// The triggers of the three monitor kinds and their registry.
#include "monitors/battery_idle_trigger.h"
#include "core/crlf.h"
#include "monitors/cpu_trigger.h"
#include "monitors/phrase_match.h"
#include "monitors/phrase_trigger.h"
#include "monitors/power_texts.h"

#include "core/text.h"

#include <QCoreApplication>
#include <algorithm>

namespace zk {

namespace {


class NeverTrigger final : public Trigger {
public:
    std::optional<bool> holds(const QDateTime &) override { return false; }
};

}  // namespace

std::unique_ptr<Trigger> MakeTrigger(MonitorKind kind, const AppState &state, const PlatformServices &services)
{
    switch (kind) {
    case MonitorKind::Phrase: return std::make_unique<PhraseTrigger>(state, services.screenText);
    case MonitorKind::Cpu: return std::make_unique<CpuTrigger>(state, services.cpu);
    case MonitorKind::BatteryIdle: return std::make_unique<BatteryIdleTrigger>(state, services.powerStatus, services.idle);
    }
    return std::make_unique<NeverTrigger>();
}

// ---------------------------------------------------------------------------
// Phrase.

namespace {

// The question of the start check, "" when the phrase is not in the state
// that fires (or the look could not tell).
QString PhraseStartQuestion(PhraseEvent event, const PhraseMatch &match)
{
    const std::optional<bool> shown = match.shown();
    if (event == PhraseEvent::Appears && shown == true)
        return QCoreApplication::translate("PhraseTrigger", "該当文言は既に表示されています！") + kCrLf + kCrLf +
               //: Heading above the title of the window that shows the phrase.
               QCoreApplication::translate("PhraseTrigger", "【ウィンドウタイトル】 ") + kCrLf + kCrLf +
               match.windowTitle + kCrLf + kCrLf + kCrLf +
               //: Heading above the text in which the phrase was found.
               QCoreApplication::translate("PhraseTrigger", "【表示中の文言】") + kCrLf + kCrLf + match.matchedText +
               kCrLf + kCrLf + QCoreApplication::translate("PhraseTrigger", "続行しますか？");
    if (event == PhraseEvent::Disappears && shown == false)
        return QCoreApplication::translate("PhraseTrigger", "該当文言は既に表示されていません！") + kCrLf + kCrLf +
               kCrLf + kCrLf + QCoreApplication::translate("PhraseTrigger", "続行しますか？");
    return QString();
}

}  // namespace

std::optional<bool> PhraseTrigger::phraseVisible() const
{
    const JobSettings &j = m_state.job;
    const QString spec = PhraseSpec(j.MonitorPhrase);
    if (!j.MonitorEnabled || spec.isEmpty())
        return false;
    if (!m_screen || !m_screen->available())
        return std::nullopt;
    // The answer of the look that finished last; the next one starts now and
    // serves the next step (a look still running is not started twice).
    const std::optional<PhraseMatch> m = m_screen->latestAnswer(spec, j.IeMonitor != 0);
    m_screen->requestScan(spec, j.IeMonitor != 0);
    if (!m)
        return std::nullopt;
    return m->shown();
}

std::optional<bool> PhraseTrigger::holds(const QDateTime &)
{
    const std::optional<bool> visible = phraseVisible();
    if (!visible)
        return std::nullopt;
    return *visible == (m_state.job.phraseEvent() == PhraseEvent::Appears);
}

bool PhraseTrigger::detectionStillShown()
{
    const std::optional<bool> visible = phraseVisible();
    return !visible || *visible;
}

void PhraseTrigger::askStartQuestion(std::function<void(const QString &)> done)
{
    const JobSettings &j = m_state.job;
    const QString spec = PhraseSpec(j.MonitorPhrase);
    const PhraseEvent event = j.phraseEvent();
    if (!j.MonitorEnabled || spec.isEmpty()) {
        // An empty phrase is never shown.
        done(j.MonitorEnabled ? PhraseStartQuestion(event, PhraseMatch()) : QString());
        return;
    }
    if (!m_screen || !m_screen->available()) {
        done(QString());
        return;
    }
    m_screen->scanThen(spec, j.IeMonitor != 0,
                       [event, done = std::move(done)](const PhraseMatch &match) { done(PhraseStartQuestion(event, match)); });
}

void PhraseTrigger::setChangeListener(std::function<void()> listener)
{
    if (!m_screen)
        return;
    m_listener = std::make_shared<std::function<void()>>(std::move(listener));
    // The watcher may outlive this trigger: what it keeps calls nothing then.
    m_screen->setAnswerListener([weak = std::weak_ptr<std::function<void()>>(m_listener)] {
        if (const auto target = weak.lock(); target && *target)
            (*target)();
    });
}

// ---------------------------------------------------------------------------
// CPU usage.

void CpuTrigger::start(const QDateTime &runStart)
{
    m_runStart = runStart;
    const JobSettings &j = m_state.job;
    if (m_cpu)
        m_cpu->begin(j.CpuAverageSeconds, j.CpuLowerLimit, j.CpuProcess, j.MonitorEnabled != 0);
}

void CpuTrigger::stop(bool clearTexts)
{
    if (m_cpu)
        m_cpu->stop(clearTexts);
}

std::optional<bool> CpuTrigger::holds(const QDateTime &now)
{
    const JobSettings &j = m_state.job;
    if (!j.MonitorEnabled || !m_cpu || !m_runStart.isValid())
        return false;
    const QString average = m_cpu->averageText();
    if (average.trimmed().isEmpty())
        return false;  // nothing measured yet
    // A span longer than any date can hold (about 30,000 years) ends never,
    // rather than at a date that is no date.
    constexpr qint64 kMaxSpanSeconds = 1'000'000'000'000;
    const qint64 span = LeadingInt(j.CpuAverageSeconds);
    if (span > kMaxSpanSeconds)
        return false;
    const QDateTime spanEnd = m_runStart.addSecs(std::max(span, -kMaxSpanSeconds));
    return now > spanEnd && LeadingNumber(average) < LeadingNumber(j.CpuLowerLimit);
}

// ---------------------------------------------------------------------------
// Battery and no input.

std::optional<QString> BatteryIdleTrigger::readStatus()
{
    PowerStatusRaw raw;
    const bool read = m_status && m_status->read(raw) == kPowerStatusOk;
    m_onBattery = read && raw.acLine == 0;
    return read ? PowerLineText(raw.acLine) : QString();
}

std::optional<bool> BatteryIdleTrigger::holds(const QDateTime &)
{
    if (!m_onBattery || !m_idle)
        return false;
    const qint64 idleMs = m_idle->idleMilliseconds();
    if (idleMs < 0)
        return std::nullopt;
    return LeadingNumber(m_state.job.IdleSeconds) <= double(idleMs) / 1000.0;
}

}  // namespace zk
