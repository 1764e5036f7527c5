// The countdown sound: started once however often the warning phase asks,
// and which file it is (the current folder's first .wav, else ding.wav
// beside the program, else the installed one).
#include "shell/countdown_sound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace zk;

namespace {

struct RecordingOutput final : SoundOutput {
    QStringList calls;
    void start(const QString &path, bool looping) override
    {
        calls << QStringLiteral("start %1 %2").arg(path).arg(looping);
    }
    void stop() override { calls << QStringLiteral("stop"); }
};

void Touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

}  // namespace

class TstCountdownSound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsOnceUntilStopped()
    {
        RecordingOutput out;
        CountdownSoundPlayer player(out, QStringLiteral("/s/ding.wav"));
        player.stop();  // nothing plays: nothing to stop
        for (int second = 0; second < 10; ++second)
            player.play(true);
        player.stop();
        player.stop();
        player.play(false);
        QCOMPARE(out.calls, (QStringList{"start /s/ding.wav 1", "stop", "start /s/ding.wav 0"}));
        QVERIFY(player.playing());

        // Without a file nothing is started at all, and nothing fails.
        RecordingOutput silent;
        CountdownSoundPlayer none(silent, QString());
        none.play(true);
        QVERIFY(silent.calls.isEmpty());
    }

    void discovery()
    {
        QTemporaryDir root;
        const QString cwd = root.filePath(QStringLiteral("cwd"));
        const QString program = root.filePath(QStringLiteral("bin"));
        const QString data1 = root.filePath(QStringLiteral("share1"));
        const QString data2 = root.filePath(QStringLiteral("share2"));
        SoundSearch search;
        search.currentDir = cwd;
        search.programDir = program;
        search.dataDirs = {data1, data2};
        search.wavFiles = [](const QString &dir) {
            return QDir(dir).entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name);
        };
        search.isFile = [](const QString &path) { return QFileInfo(path).isFile(); };

        QCOMPARE(FindCountdownSound(search), QString());
        Touch(data2 + QStringLiteral("/zenkoro/ding.wav"));
        QCOMPARE(FindCountdownSound(search), data2 + QStringLiteral("/zenkoro/ding.wav"));
        Touch(data1 + QStringLiteral("/ding.wav"));  // not in the program's own data folder
        QCOMPARE(FindCountdownSound(search), data2 + QStringLiteral("/zenkoro/ding.wav"));
        Touch(program + QStringLiteral("/ding.wav"));
        QCOMPARE(FindCountdownSound(search), program + QStringLiteral("/ding.wav"));
        Touch(cwd + QStringLiteral("/c.wav"));
        Touch(cwd + QStringLiteral("/b.wav"));
        QVERIFY(QDir(cwd).mkdir(QStringLiteral("a.wav")));  // a folder is no sound
        QCOMPARE(FindCountdownSound(search), cwd + QStringLiteral("/b.wav"));
    }
};

QTEST_GUILESS_MAIN(TstCountdownSound)
#include "tst_countdown_sound.moc"
