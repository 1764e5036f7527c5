// The countdown sound of the warning phase: which file it is, and the rule
// that asking for it every second starts it only once.
#pragma once

#include "core/ports/sound.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zk {

// Where the sound file is looked for, with the file system questions the
// search asks.
struct SoundSearch {
    QString currentDir;         // the working folder of the process
    QString programDir;         // the folder of the executable
    QStringList dataDirs;       // installed data folders (each holding zenkoro/ding.wav)
    // The names of the *.wav files of a folder, sorted by name.
    std::function<QStringList(const QString &dir)> wavFiles;
    std::function<bool(const QString &path)> isFile;
};

inline const QString kDefaultSoundName = QStringLiteral("ding.wav");

// WavePath: the first *.wav file of the current folder; else ding.wav beside
// the program; else ding.wav in the first data folder that has one; else empty.
QString FindCountdownSound(const SoundSearch &search);

// PlayCountdownSound / StopCountdownSound over a sound output: the sound is
// started once however often it is asked for, until it is stopped. Without
// a file (empty WavePath) it stays silent.
class CountdownSoundPlayer final : public CountdownSound {
public:
    CountdownSoundPlayer(SoundOutput &output, QString wavePath);

    void play(bool looping) override;
    void stop() override;

    bool playing() const { return m_playing; }
    QString wavePath() const { return m_wavePath; }

private:
    SoundOutput &m_output;
    QString m_wavePath;
    bool m_playing = false;  // SoundPlaying
};

}  // namespace zk
