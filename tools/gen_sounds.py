#!/usr/bin/env python3
"""Generates the game's four built-in sounds (resources/wave1.wav .. wave4.wav).

WAVE1 is a short brass fanfare; WAVE2 to WAVE4 are bell chimes. All are PCM
mono 8-bit unsigned WAV files. The synthesis uses no randomness, so every run
writes the same bytes.

Usage:
    gen_sounds.py            write the sounds into resources/
    gen_sounds.py --check    regenerate in memory and compare with resources/
"""

import io
import math
import sys
import wave
from pathlib import Path

RESOURCES = Path(__file__).resolve().parent.parent / "resources"

# Peak level after normalisation, as a fraction of full scale; keeps every
# sample clear of 0 and 255.
PEAK = 0.85


def NoteFrequency(name):
    """Frequency in Hz of a note such as "C5" or "F#4" (A4 = 440 Hz)."""
    semitones = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    letter, rest = name[0], name[1:]
    offset = semitones[letter]
    if rest.startswith("#"):
        offset += 1
        rest = rest[1:]
    octave = int(rest)
    return 440.0 * 2.0 ** ((offset + 12 * (octave - 4)) / 12.0)


def Adsr(t, length, attack, decay, sustain, release):
    """Envelope value at time t of a note held for `length` seconds."""
    if t < 0.0:
        return 0.0
    if t < attack:
        level = t / attack
    elif t < attack + decay:
        level = 1.0 - (1.0 - sustain) * (t - attack) / decay
    else:
        level = sustain
    if t > length:
        over = t - length
        if over >= release:
            return 0.0
        level *= 1.0 - over / release
    return level


def BrassNote(buffer, rate, start, length, frequency, volume, sustainDecay=0.0):
    """Adds one brass-like note to `buffer` (a list of floats).

    The tone is a sum of harmonics whose upper partials grow with the envelope,
    which gives the bright, blaring attack of a horn; a gentle vibrato sets in
    on long notes.
    """
    attack, decay, sustain, release = 0.025, 0.09, 0.72, 0.07
    nyquistLimit = 0.9 * rate / 2.0
    harmonics = [n for n in range(1, 11) if n * frequency < nyquistLimit]
    first = int(round(start * rate))
    count = int(round((length + release) * rate))
    phase = 0.0
    for i in range(count):
        index = first + i
        if index >= len(buffer):
            break
        t = i / rate
        envelope = Adsr(t, length, attack, decay, sustain, release)
        if sustainDecay > 0.0 and t > attack + decay:
            envelope *= math.exp(-sustainDecay * (t - attack - decay))
        if envelope <= 0.0:
            phase += 2.0 * math.pi * frequency / rate
            continue
        vibratoDepth = 0.0035 * min(1.0, max(0.0, (t - 0.25) / 0.3))
        instantaneous = frequency * (1.0 + vibratoDepth * math.sin(2.0 * math.pi * 5.2 * t))
        phase += 2.0 * math.pi * instantaneous / rate
        brightness = 0.35 + 0.5 * envelope
        value = 0.0
        weight = 1.0
        for n in harmonics:
            value += weight / n * math.sin(n * phase)
            weight *= brightness
        buffer[index] += volume * envelope * value


def BellNote(buffer, rate, start, frequency, volume, decayRate):
    """Adds one struck bell to `buffer`.

    The partials are inharmonic, as in a small bell or a glockenspiel bar, and
    each dies away exponentially, the higher ones faster.
    """
    partials = [
        (1.0, 1.0, 1.0),
        (2.0, 0.45, 1.6),
        (2.76, 0.35, 2.2),
        (4.07, 0.18, 3.0),
        (5.40, 0.10, 3.8),
    ]
    nyquistLimit = 0.9 * rate / 2.0
    first = int(round(start * rate))
    for i in range(first, len(buffer)):
        t = (i - first) / rate
        strike = min(1.0, t / 0.0015)
        value = 0.0
        for ratio, amplitude, damping in partials:
            f = frequency * ratio
            if f >= nyquistLimit:
                continue
            value += amplitude * math.exp(-decayRate * damping * t) * math.sin(2.0 * math.pi * f * t)
        buffer[i] += volume * strike * value


def Finish(buffer, rate, fadeIn, fadeOut):
    """Fades both ends to silence, normalises and quantises to unsigned 8 bit."""
    count = len(buffer)
    fadeInCount = max(1, int(round(fadeIn * rate)))
    fadeOutCount = max(1, int(round(fadeOut * rate)))
    shaped = []
    for i, value in enumerate(buffer):
        gain = 1.0
        if i < fadeInCount:
            gain *= 0.5 - 0.5 * math.cos(math.pi * i / fadeInCount)
        remaining = count - 1 - i
        if remaining < fadeOutCount:
            gain *= 0.5 - 0.5 * math.cos(math.pi * remaining / fadeOutCount)
        shaped.append(value * gain)
    peak = max(abs(v) for v in shaped) or 1.0
    scale = PEAK * 127.0 / peak
    return bytes(128 + int(round(v * scale)) for v in shaped)


def Fanfare():
    """WAVE1: a rising major arpeggio, a short call and a held final chord."""
    rate, duration = 11025, 3.4
    buffer = [0.0] * int(round(rate * duration))
    melody = [
        (0.00, 0.11, "G4"),
        (0.14, 0.11, "C5"),
        (0.28, 0.11, "E5"),
        (0.42, 0.34, "G5"),
        (0.84, 0.11, "E5"),
        (0.98, 0.48, "G5"),
    ]
    for start, length, note in melody:
        BrassNote(buffer, rate, start, length, NoteFrequency(note), 0.9)
    # The closing chord swells in and rings to the end, dying away slowly.
    chordStart = 1.56
    chordLength = duration - chordStart - 0.12
    for note, volume in [("C4", 0.30), ("G4", 0.28), ("C5", 0.34), ("E5", 0.30), ("G5", 0.28), ("C6", 0.26)]:
        BrassNote(buffer, rate, chordStart, chordLength, NoteFrequency(note), volume, sustainDecay=0.55)
    return rate, Finish(buffer, rate, 0.004, 0.25)


def Chime(rate, duration, strikes, decayRate, fadeOut):
    """A chime sound: `strikes` is a list of (start, note, volume)."""
    buffer = [0.0] * int(round(rate * duration))
    for start, note, volume in strikes:
        BellNote(buffer, rate, start, NoteFrequency(note), volume, decayRate)
    return rate, Finish(buffer, rate, 0.003, fadeOut)


def Sounds():
    """All four sounds as {file name: WAV bytes}."""
    made = {
        "wave1.wav": Fanfare(),
        # A single bright ding.
        "wave2.wav": Chime(7330, 0.23, [(0.0, "A5", 1.0), (0.0, "E6", 0.35)], 11.0, 0.03),
        # Three rising bells.
        "wave3.wav": Chime(11025, 0.62, [(0.0, "C6", 0.8), (0.12, "E6", 0.8), (0.24, "G6", 1.0)], 5.5, 0.06),
        # A quick ding-ding.
        "wave4.wav": Chime(11025, 0.20, [(0.0, "G6", 0.8), (0.07, "C7", 0.9)], 12.0, 0.03),
    }
    return {name: WaveBytes(rate, samples) for name, (rate, samples) in made.items()}


def WaveBytes(rate, samples):
    """A complete PCM mono 8-bit WAV file."""
    out = io.BytesIO()
    with wave.open(out, "wb") as writer:
        writer.setnchannels(1)
        writer.setsampwidth(1)
        writer.setframerate(rate)
        writer.writeframes(samples)
    return out.getvalue()


def main(argv):
    check = "--check" in argv[1:]
    sounds = Sounds()
    if check:
        stale = []
        for name, data in sounds.items():
            path = RESOURCES / name
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        if stale:
            print("out of date: " + ", ".join(stale) + " (run tools/gen_sounds.py)")
            return 1
        print("sounds up to date")
        return 0
    RESOURCES.mkdir(parents=True, exist_ok=True)
    for name, data in sounds.items():
        (RESOURCES / name).write_bytes(data)
        print("wrote", RESOURCES / name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
