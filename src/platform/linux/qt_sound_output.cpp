#include "platform/linux/qt_sound_output.h"

#include <QSoundEffect>
#include <QUrl>

namespace zk {

QtSoundOutput::QtSoundOutput() = default;
QtSoundOutput::~QtSoundOutput() = default;

void QtSoundOutput::start(const QString &path, bool looping)
{
    if (!m_effect)
        m_effect = std::make_unique<QSoundEffect>();
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
