#include "shell/countdown_sound.h"

#include <utility>

namespace zk {

namespace {

QString Join(const QString &dir, const QString &name)
{
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')))
        return dir + name;
    return dir + QLatin1Char('/') + name;
}

}  // namespace

QString FindCountdownSound(const SoundSearch &search)
{
    if (!search.isFile)
        return QString();
    if (search.wavFiles && !search.currentDir.isEmpty()) {
        for (const QString &name : search.wavFiles(search.currentDir)) {
            const QString path = Join(search.currentDir, name);
            if (search.isFile(path))
                return path;
        }
    }
    if (!search.programDir.isEmpty()) {
        const QString beside = Join(search.programDir, kDefaultSoundName);
        if (search.isFile(beside))
            return beside;
    }
    for (const QString &dir : search.dataDirs) {
        const QString installed = Join(Join(dir, QStringLiteral("zenkoro")), kDefaultSoundName);
        if (search.isFile(installed))
            return installed;
    }
    return QString();
}

CountdownSoundPlayer::CountdownSoundPlayer(SoundOutput &output, QString wavePath)
    : m_output(output), m_wavePath(std::move(wavePath))
{
}

void CountdownSoundPlayer::play(bool looping)
{
    if (m_playing)
        return;
    m_playing = true;
    if (!m_wavePath.isEmpty())
        m_output.start(m_wavePath, looping);
}

void CountdownSoundPlayer::stop()
{
    if (!m_playing)
        return;
    m_playing = false;
    m_output.stop();
}

}  // namespace zk
