#!/usr/bin/env python3
"""Writes ding.wav, the countdown sound: a short bell-like tone (880 Hz with
a softer octave above it, fading out) followed by silence, one second in
all, so that the looping sound rings once a second."""
import math
import struct
import sys
import wave

RATE = 22050
TONE = 0.35   # seconds of tone
TOTAL = 1.0   # seconds of the whole file


def samples():
    for i in range(int(RATE * TOTAL)):
        t = i / RATE
        if t >= TONE:
            yield 0
            continue
        attack = min(1.0, t / 0.005)        # no click at the start
        decay = math.exp(-t * 9.0)
        tail = min(1.0, (TONE - t) / 0.02)  # no click at the end
        v = math.sin(2 * math.pi * 880 * t) + 0.35 * math.sin(2 * math.pi * 1760 * t)
        yield int(0.5 * 32767 * attack * decay * tail * v / 1.35)


def main(path):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "ding.wav")
