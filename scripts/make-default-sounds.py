#!/usr/bin/python3
"""Writes the small default sounds of data/zvuky (8 kHz mono 16-bit WAV). Run once; the files are kept."""
import math
import random
import struct
import sys
import wave
from pathlib import Path

RATE = 8000


def tone(freqs, seconds, volume=0.5):
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        fade = min(1.0, i / 200, (n - i) / 400)
        v = sum(math.sin(2 * math.pi * f * t) for f in freqs) / len(freqs)
        out.append(v * volume * fade)
    return out


def applause(seconds):
    rnd = random.Random(7)
    n = int(RATE * seconds)
    out = []
    clap = 0.0
    for i in range(n):
        if rnd.random() < 0.012:
            clap = 1.0
        clap *= 0.985
        fade = min(1.0, i / 800, (n - i) / 1600)
        out.append((rnd.random() * 2 - 1) * (0.15 + 0.6 * clap) * fade)
    return out


def write(path, samples):
    path.parent.mkdir(parents=True, exist_ok=True)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32000)) for s in samples))


def main():
    data = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data")
    write(data / "zvuky" / "success.wav", tone([523.25], 0.18) + tone([659.25], 0.18) + tone([783.99, 1046.5], 0.45))
    write(data / "zvuky" / "prg" / "applause.wav", applause(1.6))
    write(data / "zvuky" / "prg" / "potvrd.wav", tone([880.0], 0.12) + tone([1318.5], 0.16))


main()
