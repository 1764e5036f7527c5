// The trigger registry: each monitor kind gives the trigger that follows its
// own service, and no other; only a phrase that holds at the start asks first.
#include "monitors/trigger.h"
#include "support/fake/fake_services.h"

#include <QtTest>

using namespace zk;

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {

const QDateTime kStart(QDate(2026, 12, 7), QTime(12, 0, 0));

enum class Setup {
    PhraseShown, PhraseGone, PhraseCutShort, ScreenUnreadable, CpuLow, CpuAtLimit, CpuAtSpan, CpuEndlessSpan, CpuUnmeasured,
    BatteryIdle, BatteryBusy, MainsIdle
};

}  // namespace

class TestTriggers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void holdsFollowsItsService_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("setup");
        QTest::addColumn<std::optional<bool>>("holds");
        const auto yes = std::optional<bool>(true);
        const auto no = std::optional<bool>(false);
        const int phrase = int(MonitorKind::Phrase);
        const int cpu = int(MonitorKind::Cpu);
        const int battery = int(MonitorKind::BatteryIdle);
        QTest::newRow("phrase appears, shown") << phrase << 0 << int(Setup::PhraseShown) << yes;
        QTest::newRow("phrase appears, not shown") << phrase << 0 << int(Setup::PhraseGone) << no;
        QTest::newRow("phrase disappears, gone") << phrase << 1 << int(Setup::PhraseGone) << yes;
        // A look cut short (more on show than a look reads) cannot tell.
        QTest::newRow("phrase disappears, look cut short") << phrase << 1 << int(Setup::PhraseCutShort) << std::optional<bool>();
        QTest::newRow("phrase, screen unreadable") << phrase << 0 << int(Setup::ScreenUnreadable) << std::optional<bool>();
        QTest::newRow("phrase ignores the CPU") << phrase << 0 << int(Setup::CpuLow) << no;
        QTest::newRow("cpu under the limit") << cpu << 0 << int(Setup::CpuLow) << yes;
        QTest::newRow("cpu at the limit") << cpu << 0 << int(Setup::CpuAtLimit) << no;
        QTest::newRow("cpu, exactly one span passed") << cpu << 0 << int(Setup::CpuAtSpan) << no;
        QTest::newRow("cpu, a span beyond any date never ends") << cpu << 0 << int(Setup::CpuEndlessSpan) << no;
        QTest::newRow("cpu, nothing measured") << cpu << 0 << int(Setup::CpuUnmeasured) << no;
        QTest::newRow("cpu ignores the screen") << cpu << 0 << int(Setup::PhraseShown) << no;
        QTest::newRow("battery, idle") << battery << 0 << int(Setup::BatteryIdle) << yes;
        QTest::newRow("battery, input 29.5 s ago") << battery << 0 << int(Setup::BatteryBusy) << no;
        QTest::newRow("mains, idle") << battery << 0 << int(Setup::MainsIdle) << no;
        QTest::newRow("battery ignores the CPU") << battery << 0 << int(Setup::CpuLow) << no;
        QTest::newRow("stored kind 3 never holds") << 3 << 0 << int(Setup::BatteryIdle) << no;
    }
    void holdsFollowsItsService()
    {
        QFETCH(int, kind);
        QFETCH(int, event);
        QFETCH(int, setup);
        QFETCH(std::optional<bool>, holds);
        AppState state;
        state.job.MonitorEnabled = 1;
        state.job.MonitorKind = kind;
        state.job.PhraseEvent = event;
        state.job.MonitorPhrase = QStringLiteral("done");
        state.job.CpuAverageSeconds = QStringLiteral(" 10");
        state.job.CpuLowerLimit = QStringLiteral(" 1.0");
        state.job.IdleSeconds = QStringLiteral(" 30");
        FakePlatform fake;
        fake.powerStatus.raw.acLine = 1;
        fake.idle.idleMs = 0;
        switch (Setup(setup)) {
        case Setup::PhraseShown: fake.screenText.setVisible(true); break;
        case Setup::PhraseGone: fake.screenText.setVisible(false); break;
        case Setup::PhraseCutShort: fake.screenText.answer.complete = false; break;
        case Setup::ScreenUnreadable: fake.screenText.isAvailable = false; break;
        case Setup::CpuLow: fake.cpu.average = QStringLiteral(" 0.5"); break;
        case Setup::CpuAtLimit: fake.cpu.average = QStringLiteral(" 1.0"); break;
        case Setup::CpuAtSpan:
        case Setup::CpuEndlessSpan:
            state.job.CpuAverageSeconds = Setup(setup) == Setup::CpuAtSpan ? QStringLiteral(" 11") : QString(21, u'9');
            fake.cpu.average = QStringLiteral(" 0.5");
            break;
        case Setup::CpuUnmeasured: fake.cpu.average.clear(); break;
        case Setup::BatteryIdle: fake.powerStatus.raw.acLine = 0; fake.idle.idleMs = 30000; break;
        case Setup::BatteryBusy: fake.powerStatus.raw.acLine = 0; fake.idle.idleMs = 29500; break;
        case Setup::MainsIdle: fake.idle.idleMs = 30000; break;
        }
        const std::unique_ptr<Trigger> t = MakeTrigger(state.job.monitorKind(), state, fake.services());
        t->start(kStart);
        t->readStatus();
        QCOMPARE(t->holds(kStart.addSecs(11)), holds);
        QString question;
        t->askStartQuestion([&](const QString &q) { question = q; });
        QCOMPARE(!question.isEmpty(), kind == int(MonitorKind::Phrase) && holds == true);
    }
};

QTEST_GUILESS_MAIN(TestTriggers)
#include "tst_triggers.moc"
