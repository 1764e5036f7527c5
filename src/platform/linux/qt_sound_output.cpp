#include "platform/linux/qt_sound_output.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace zk {

namespace {

// Qt Multimedia plays through a PulseAudio server (PipeWire answers on the same
// socket). Without one there is nothing to hear, and asking Qt would only print
// its connection failure on stderr, so the sound stays silent without asking.
bool SoundServerReachable()
{
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pulse/native"));
}

}  // namespace

QtSoundOutput::QtSoundOutput() = default;
QtSoundOutput::~QtSoundOutput() = default;

void QtSoundOutput::start(const QString &path, bool looping)
{
    if (!m_effect) {
        if (!SoundServerReachable())
            return;
        m_effect = std::make_unique<QSoundEffect>();
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (m_effect->source() != source)
        m_effect->setSource(source);  // loads in the background; play() waits for it
    m_effect->setLoopCount(looping ? QSoundEffect::Infinite : 1);
    m_effect->play();
}

void QtSoundOutput::stop()
{
    if (m_effect)
        m_effect->stop();
}

}  // namespace zk
