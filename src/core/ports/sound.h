// The countdown sound.
#pragma once

#include <QString>

namespace zk {

class CountdownSound {
public:
    virtual ~CountdownSound() = default;
    // PlayCountdownSound: ignored while the sound is already playing.
    virtual void play(bool looping) = 0;
    // StopCountdownSound.
    virtual void stop() = 0;
};

// The sound device of the platform: plays one sound file, once or looping.
// A missing file or a missing audio device gives silence, never an error.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void start(const QString &path, bool looping) = 0;
    // Stops whatever this output plays.
    virtual void stop() = 0;
};

}  // namespace zk
