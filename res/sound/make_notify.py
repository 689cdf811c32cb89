#!/usr/bin/env python3
"""Writes notify.wav: a 0.3 s two-tone chime, 22050 Hz, mono, 16-bit."""
import math
import struct
import wave

RATE = 22050
TONES = [(880.0, 0.15), (1318.5, 0.15)]  # A5 then E6

frames = bytearray()
for freq, length in TONES:
    count = int(RATE * length)
    for i in range(count):
        t = i / RATE
        # short attack, exponential decay: a bell-like note without clicks
        env = min(1.0, i / 200.0) * math.exp(-6.0 * t / length)
        fade = min(1.0, (count - i) / 200.0)
        sample = 0.45 * env * fade * math.sin(2.0 * math.pi * freq * t)
        frames += struct.pack('<h', int(sample * 32767))

with wave.open('notify.wav', 'wb') as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(bytes(frames))
