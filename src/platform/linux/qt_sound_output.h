// The sound output through Qt Multimedia (QSoundEffect). The effect is made
// at the first start, so a run that never warns never opens the audio
// device. Without a device or a readable file the effect reports an error
// to nobody and nothing is heard.
#pragma once

#include "core/ports/sound.h"

#include <memory>

class QSoundEffect;

namespace zk {

class QtSoundOutput final : public SoundOutput {
public:
    QtSoundOutput();
    ~QtSoundOutput() override;

    void start(const QString &path, bool looping) override;
    void stop() override;

    // The effect, once made (tests look at its state).
    QSoundEffect *effect() const { return m_effect.get(); }

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace zk
