#!/usr/bin/env python3
"""Writes the start-up chime as a 44.1 kHz, 16-bit mono WAV.

Usage: make_chime.py OUT.wav

The sound is a C major chord (C4 E4 G4 C5) built from a few harmonics per
note. Everything is computed from fixed numbers, so the WAV is the same
byte for byte on every run; make-resources then encodes it to AAC.
"""
import math
import struct
import sys
import wave

RATE = 44100
SECONDS = 1.2
# Equal-tempered frequencies of the chord's notes, in Hz.
NOTES = [261.63, 329.63, 392.00, 523.25]
# Each note starts a little after the previous one: a soft "strum" sounds
# warmer than all four notes hitting at once.
STAGGER = 0.012
# (harmonic number, relative amplitude, extra decay rate). Upper harmonics
# fade faster, like a struck bell or piano string, so the tail stays mellow.
PARTIALS = [(1, 1.0, 0.0), (2, 0.35, 2.0), (3, 0.12, 4.0)]
ATTACK = 0.02  # seconds; a raised-cosine ramp avoids a click at the start
DECAY = 3.2    # per second; the chord fades to about 2% by the end
FADE = 0.08    # seconds; a final ramp to exact silence avoids a click at the end
PEAK = 0.8     # of full scale, leaving headroom so nothing ever clips


def envelope(t):
    if t < 0:
        return 0.0
    rise = 0.5 - 0.5 * math.cos(math.pi * t / ATTACK) if t < ATTACK else 1.0
    return rise * math.exp(-DECAY * t)


def sample(i):
    t = i / RATE
    value = 0.0
    for n, freq in enumerate(NOTES):
        local = t - n * STAGGER
        env = envelope(local)
        if env == 0.0:
            continue
        for harmonic, amp, extra in PARTIALS:
            value += (env * amp * math.exp(-extra * local)
                      * math.sin(2 * math.pi * freq * harmonic * local))
    remaining = SECONDS - t
    if remaining < FADE:
        value *= remaining / FADE
    return value


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_chime.py OUT.wav")
    count = int(RATE * SECONDS)
    raw = [sample(i) for i in range(count)]
    # Normalise so the loudest moment sits at PEAK, whatever the mix above.
    scale = PEAK / max(abs(v) for v in raw)
    frames = b"".join(struct.pack("<h", round(v * scale * 32767)) for v in raw)
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
