// The countdown sound.
#pragma once

namespace zk {

class CountdownSound {
public:
    virtual ~CountdownSound() = default;
    // PlayCountdownSound: ignored while the sound is already playing.
    virtual void play(bool looping) = 0;
    // StopCountdownSound.
    virtual void stop() = 0;
};

}  // namespace zk
