"""The seven sound effects, synthesized: 22050 Hz, mono, signed 16-bit, plain RIFF WAV.

Each sound is made at the same RMS loudness with its peak held below -3 dBFS, has no DC
offset, and starts and ends with a short fade, except the blast, which is one exact period
of a periodic signal so that it loops without a seam.
"""

import math
import os
import struct

import numpy as np

RATE = 22050
PEAK = 10 ** (-3.2 / 20)  # below -3 dBFS
LOUDNESS = 10 ** (-15 / 20)  # target RMS
TAU = 2 * math.pi


def seconds(s):
    return np.arange(int(round(s * RATE))) / RATE


def phase_of(freq):
    """Integrates a frequency track (Hz per sample) into a phase."""
    return TAU * np.cumsum(freq) / RATE


def envelope(n, attack, release, curve=3.0):
    """A fast rise and an exponential fall, over n samples."""
    t = np.arange(n) / RATE
    env = np.minimum(1.0, t / max(attack, 1e-6)) * np.exp(-curve * t / max(release, 1e-6))
    return env


def band(x, lo, hi):
    """Keeps the band lo..hi Hz (a brick-wall filter in the frequency domain, soft edges)."""
    spectrum = np.fft.rfft(x)
    f = np.fft.rfftfreq(len(x), 1.0 / RATE)
    gain = 1 / (1 + (lo / np.maximum(f, 1e-3)) ** 4) / (1 + (f / hi) ** 4)
    return np.fft.irfft(spectrum * gain, len(x))


def finish(x, fade=0.006, loop=False):
    x = x - x.mean()
    if not loop:
        n = int(fade * RATE)
        ramp = 0.5 - 0.5 * np.cos(np.linspace(0, math.pi, n))
        x[:n] *= ramp
        x[-n:] *= ramp[::-1]
    rms = math.sqrt(float(np.mean(x * x)))
    x = x * (LOUDNESS / rms)
    peak = float(np.max(np.abs(x)))
    if peak > PEAK:
        x = x * (PEAK / peak)
    return np.rint(x * 32767).astype("<i2")


def wav_bytes(samples):
    data = samples.astype("<i2").tobytes()
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


# ---- the effects ----------------------------------------------------------------------


def zap():
    """Magic attack: a bright rising sparkle."""
    rng = np.random.default_rng(4)
    t = seconds(0.5)
    n = len(t)
    f = 900 * (2.6 ** (t / t[-1]))
    x = np.sin(phase_of(f)) + 0.35 * np.sin(phase_of(2 * f)) + 0.2 * np.sin(phase_of(3.01 * f))
    x *= (0.6 + 0.4 * np.sin(TAU * 18 * t)) * envelope(n, 0.01, 0.5, 2.5)
    for _ in range(14):  # glittering pings
        start = int(rng.uniform(0.0, 0.38) * RATE)
        fr = rng.uniform(2500, 5200)
        m = int(0.07 * RATE)
        seg = np.sin(TAU * fr * np.arange(m) / RATE) * envelope(m, 0.002, 0.07, 5)
        x[start : start + m] += 0.35 * seg[: n - start]
    return finish(x)


def fall():
    """The fall: a descending slide whistle."""
    t = seconds(0.95)
    n = len(t)
    f = 1500 * (0.2 ** (t / t[-1])) * (1 + 0.02 * np.sin(TAU * 6 * t))
    x = np.sin(phase_of(f)) + 0.12 * np.sin(phase_of(2 * f))
    x += 0.03 * band(np.random.default_rng(1).standard_normal(n), 800, 3000)  # breath
    env = np.minimum(1, t / 0.03) * np.minimum(1, (t[-1] - t) / 0.2)
    return finish(x * env)


def blast():
    """The blast: a whooshing rumble, exactly one second that repeats without a seam.

    Every part is periodic over the whole length: noise made from a spectrum of whole
    cycles, sines and swells with whole numbers of cycles per second.
    """
    n = RATE
    t = np.arange(n) / RATE
    rng = np.random.default_rng(9)
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    spectrum = rng.standard_normal(len(f)) + 1j * rng.standard_normal(len(f))
    spectrum[0] = 0
    rumble = np.fft.irfft(spectrum / (1 + (f / 180.0) ** 2) / (1 + (30.0 / np.maximum(f, 1)) ** 4), n)
    hiss = np.fft.irfft(spectrum * np.exp(-(((f - 1100.0) / 700.0) ** 2)), n)
    rumble /= np.std(rumble)
    hiss /= np.std(hiss)
    swell = 0.55 + 0.45 * np.sin(TAU * 2 * t) ** 2  # two whooshes a second
    x = 0.9 * rumble + 0.6 * hiss * swell + 0.35 * np.sin(TAU * 55 * t) + 0.2 * np.sin(TAU * 82 * t + 1)
    return finish(x, loop=True)


def aww():
    """The hurt cry: a short falling "aww", a voice made of harmonics under vowel formants."""
    t = seconds(0.55)
    n = len(t)
    u = t / t[-1]
    f0 = 340 * (0.62 ** u) * (1 + 0.015 * np.sin(TAU * 7 * t))
    formants = [  # (start Hz, end Hz, width, gain): "a" gliding toward "w"
        (820, 560, 110, 1.0),
        (1250, 850, 140, 0.7),
        (2700, 2500, 220, 0.25),
    ]
    x = np.zeros(n)
    phase = phase_of(f0)
    for h in range(1, 26):
        fh = h * f0
        amp = np.zeros(n)
        for a, b, w, g in formants:
            fc = a + (b - a) * u
            amp += g / (1 + ((fh - fc) / w) ** 2)
        amp *= 1.0 / h ** 0.6
        amp[fh > RATE / 2 - 500] = 0
        x += amp * np.sin(h * phase)
    env = np.minimum(1, t / 0.04) * np.minimum(1, (t[-1] - t) / 0.18)
    return finish(x * env)


def bird_hit():
    """A bird hit: a soft pop and a squeak."""
    rng = np.random.default_rng(5)
    t = seconds(0.32)
    n = len(t)
    pop = band(rng.standard_normal(n), 60, 900) * envelope(n, 0.002, 0.04, 4)
    pop += 1.5 * np.sin(phase_of(220 * np.exp(-t * 12) + 80)) * envelope(n, 0.002, 0.06, 4)
    sq = np.zeros(n)
    start = int(0.04 * RATE)
    m = int(0.16 * RATE)
    s = np.arange(m) / RATE
    fs = 1900 + 900 * np.sin(math.pi * s / s[-1]) - 500 * s / s[-1]
    sq[start : start + m] = np.sin(phase_of(fs)) * np.clip(np.sin(math.pi * s / s[-1]), 0, 1) ** 0.5
    return finish(pop + 0.55 * sq)


def bubble():
    """A bubble catches the player: a plop with a little echo."""
    t = seconds(0.38)
    n = len(t)
    x = np.zeros(n)
    for start, base, gain in ((0.0, 260, 1.0), (0.13, 420, 0.45), (0.21, 360, 0.25)):
        i = int(start * RATE)
        s = t[: n - i]
        f = base * (1 + 2.4 * (1 - np.exp(-s / 0.03)))
        x[i:] += gain * np.sin(phase_of(f)) * envelope(n - i, 0.003, 0.12, 4)
    return finish(x)


def slime_hit():
    """A slime hits the player: a wet splat with droplets."""
    rng = np.random.default_rng(11)
    t = seconds(0.5)
    n = len(t)
    splat = band(rng.standard_normal(n), 80, 1800) * envelope(n, 0.004, 0.16, 3.5)
    squelch = np.sin(phase_of(140 * np.exp(-t * 6) + 50 + 12 * np.sin(TAU * 23 * t))) * envelope(n, 0.01, 0.3, 3)
    x = splat + 0.8 * squelch
    for start, fr in ((0.17, 900), (0.24, 1300), (0.3, 700), (0.36, 1100)):
        i = int(start * RATE)
        m = int(0.05 * RATE)
        s = np.arange(m) / RATE
        x[i : i + m] += 0.35 * np.sin(phase_of(fr * (1 + 1.5 * s / s[-1]))) * envelope(m, 0.002, 0.05, 4)
    return finish(x)


SOUNDS = {
    "aani4.wav": zap,
    "aani1.wav": fall,
    "boost.wav": blast,
    "aww.wav": aww,
    "aani5.wav": bird_hit,
    "bubble.wav": bubble,
    "slime.wav": slime_hit,
}


def build(sound_dir):
    os.makedirs(sound_dir, exist_ok=True)
    for name, make in SOUNDS.items():
        with open(os.path.join(sound_dir, name), "wb") as f:
            f.write(wav_bytes(make()))
