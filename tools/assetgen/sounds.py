"""The seven sound effects, synthesized: 22050 Hz, mono, signed 16-bit, plain RIFF WAV.

The mixer adds the playing channels and clamps the sum, so each sound gets a peak level
(LEVELS) that leaves room for the others it plays with. Every sound has no DC offset and
starts and ends with a short fade, and every part of it rises and falls smoothly, so nothing
clicks; the blast instead is one exact period of a periodic signal, so that it loops without
a seam.
"""

import math
import os
import struct

import numpy as np

RATE = 22050
TAU = 2 * math.pi

# Peak level of each sound in dBFS, and how hard its highest peaks are rounded off (0: not
# at all). The levels set the loudness by how often a sound plays: the bird hit, heard most,
# is the quietest one-shot and the attack the next; the blast loops under the play for five
# seconds as a bed beneath them; the bite, the bubble, the slime and the fall come now and
# then and may stand out. They also keep the sums below full scale: any two sounds at any
# offset, and the blast, an attack and a bird hit with their peaks on the same instant.
LEVELS = {
    "aani5.wav": (-11.9, 0),  # bird hit
    "aani4.wav": (-7.5, 3.2),  # magic attack: noise and a chime, rounded for body
    "boost.wav": (-11.8, 1.8),  # the blast loop: noise takes the rounding off without a buzz
    "aww.wav": (-7.0, 0),  # the hurt cry: at every bite, so no louder than the rarer sounds
    "bubble.wav": (-7.4, 0),
    "slime.wav": (-6.0, 0),
    "aani1.wav": (-11.5, 0),  # the fall, once a game: a pure whistle, loud for its peak
}


def seconds(s):
    return np.arange(int(round(s * RATE))) / RATE


def phase_of(freq):
    """Integrates a frequency track (Hz per sample) into a phase."""
    return TAU * np.cumsum(freq) / RATE


def envelope(n, attack, release, curve=3.0):
    """A fast rise and an exponential fall, over n samples. The rise is a half cosine: a
    straight ramp would start on a corner, which splashes a faint click across the highs."""
    t = np.arange(n) / RATE
    rise = 0.5 - 0.5 * np.cos(math.pi * np.minimum(1.0, t / max(attack, 1e-6)))
    return rise * np.exp(-curve * t / max(release, 1e-6))


def band(x, lo, hi):
    """Keeps the band lo..hi Hz (a brick-wall filter in the frequency domain, soft edges)."""
    spectrum = np.fft.rfft(x)
    f = np.fft.rfftfreq(len(x), 1.0 / RATE)
    gain = 1 / (1 + (lo / np.maximum(f, 1e-3)) ** 4) / (1 + (f / hi) ** 4)
    return np.fft.irfft(spectrum * gain, len(x))


def smooth_env(n):
    """Rises and falls over n samples with no corner at either end (a raised sine)."""
    return np.sin(math.pi * (np.arange(n) + 0.5) / n) ** 2


def highpass(x, cutoff):
    """Takes away what small speakers cannot play anyway (a soft edge in the frequency domain)."""
    return band(x, cutoff, RATE)


def finish(x, level_db, fade=0.006, loop=False, drive=0.0):
    """Centres, fades, rounds the highest peaks off if drive is set (more loudness for the
    same peak, at the price of overtones that only noise hides) and sets the peak to level_db."""
    x = x - x.mean()
    if not loop:
        n = int(fade * RATE)
        ramp = 0.5 - 0.5 * np.cos(np.linspace(0, math.pi, n))
        x[:n] *= ramp
        x[-n:] *= ramp[::-1]
    x = x / float(np.max(np.abs(x)))
    if drive:
        x = np.tanh(drive * x)
    x = x * (10 ** (level_db / 20) / float(np.max(np.abs(x))))
    return np.rint(x * 32767).astype("<i2")


def wav_bytes(samples):
    data = samples.astype("<i2").tobytes()
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


# ---- the effects ----------------------------------------------------------------------


def zap():
    """Magic attack: a soft "fwip" of air and a struck chime that dies at once, with two faint
    glints after it. It is the sound heard most, so it is short and sits in the middle of the
    range: a hit, not a held tone, and nothing shrill to tire the ear."""
    rng = np.random.default_rng(4)
    t = seconds(0.34)
    n = len(t)
    # The air: noise swept up through a narrow band, 25 ms to its peak and gone in 0.1 s.
    air = band(rng.standard_normal(n), 300, 1150)
    air *= envelope(n, 0.003, 0.16, 2.2) / np.std(air[: int(0.05 * RATE)])
    # The chime: inharmonic partials of a small bar, each dying faster than the one below.
    chime = np.zeros(n)
    for ratio, gain, tau in ((1.0, 0.45, 0.05), (2.76, 0.2, 0.03), (5.4, 0.08, 0.02)):
        chime += gain * np.sin(TAU * 620 * ratio * t) * np.exp(-t / tau)
    chime *= envelope(n, 0.002, 10.0, 0.0)
    # The strike: a puff of the same air, a few milliseconds long, that makes it a hit.
    m = int(0.04 * RATE)
    strike = band(rng.standard_normal(m), 450, 1700)
    strike *= envelope(m, 0.001, 0.012, 1.0) * smooth_env(2 * m)[m:] / np.std(strike[: int(0.01 * RATE)])
    x = air + chime
    x[:m] += 1.1 * strike
    for start, fr, gain in ((0.07, 1180, 0.22), (0.12, 1560, 0.14)):  # the glints
        i = int(start * RATE)
        m = n - i
        x[i:] += gain * np.sin(TAU * fr * t[:m]) * envelope(m, 0.002, 0.03, 1.0)
    return x * smooth_env(2 * n)[n:] ** 0.25


def fall():
    """The fall: a descending slide whistle."""
    t = seconds(0.95)
    n = len(t)
    f = 1500 * (0.2 ** (t / t[-1])) * (1 + 0.02 * np.sin(TAU * 6 * t))
    x = np.sin(phase_of(f)) + 0.12 * np.sin(phase_of(2 * f))
    x += 0.03 * band(np.random.default_rng(1).standard_normal(n), 800, 3000)  # breath
    env = np.minimum(1, t / 0.03) * np.minimum(1, (t[-1] - t) / 0.2)
    return x * env


# The blast lasts five seconds of game time: the loop is longer, so one blast never hears it
# repeat, and it still loops without a seam if a blast outlasts it.
BLAST_SECONDS = 6
SWELL_PER_SECOND = 2


def blast():
    """The blast: a whoomph as it fires, then a whooshing rush that repeats without a seam.

    The rush is periodic over the whole length: noise made from a spectrum of whole cycles,
    hums and swells with whole numbers of cycles in it. It swells twice a second, some swells
    deeper than others, so six seconds of it do not sound like one second six times. The low
    end starts at about 150 Hz: a deep rumble would only blur the other sounds, and small
    speakers lose it anyway. The whoomph rises from silence in a few milliseconds and has died
    away long before the loop comes round, so the seam stays clean.
    """
    n = BLAST_SECONDS * RATE
    t = np.arange(n) / RATE
    rng = np.random.default_rng(9)
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    spectrum = rng.standard_normal(len(f)) + 1j * rng.standard_normal(len(f))
    spectrum[0] = 0
    rumble = np.fft.irfft(spectrum / (1 + (f / 420.0) ** 2) / (1 + (170.0 / np.maximum(f, 1)) ** 6), n)
    hiss = np.fft.irfft(spectrum[::-1] * np.exp(-(((f - 1300.0) / 900.0) ** 2)), n)
    rumble /= np.std(rumble)
    hiss /= np.std(hiss)
    # sin(pi r t) squared rises and falls r times a second; the depth wanders once a loop.
    depth = 0.75 + 0.25 * np.sin(TAU * t / BLAST_SECONDS + 0.7) * np.sin(TAU * 2 * t / BLAST_SECONDS)
    swell = depth * np.sin(math.pi * SWELL_PER_SECOND * t) ** 2
    hum = 0.3 * np.sin(TAU * 165 * t) + 0.18 * np.sin(TAU * 247 * t + 1)
    x = (0.8 * rumble + hum) * (0.6 + 0.4 * swell) + 0.75 * hiss * (0.25 + 0.75 * swell)
    x -= x.mean()
    # Start the loop on the quietest zero crossing near the swell's trough, so that the
    # blast begins at zero rather than on a step.
    near = np.arange(n)[(np.abs(t - 0.0) < 0.02) | (np.abs(t - n / RATE) < 0.02)]
    crossings = near[np.sign(x[near]) != np.sign(x[(near + 1) % n])]
    start = int(crossings[np.argmin(np.abs(x[crossings]) + np.abs(x[(crossings + 1) % n]))]) + 1
    x = np.roll(x, -start)
    x /= np.max(np.abs(x))
    # The rush ducks under the whoomph, so that the whoomph stands out without a louder peak.
    burst, env = whoomph(n)
    return (x * (1 - 0.75 * env) + burst) * sputter(t)


# The blast's power gives out with its five seconds: the rush coughs in shorter and weaker puffs
# from SPUTTER_FROM and is silent after the last, so the blast ends on a sign that it is over
# rather than on a cut. Each puff: (its middle in s, its length in s, its height).
SPUTTER_FROM = 4.6
SPUTTER_PUFFS = ((4.6, 0.07, 1.0), (4.675, 0.05, 0.7), (4.735, 0.042, 0.5), (4.79, 0.036, 0.32),
                 (4.835, 0.03, 0.16))


def sputter(t):
    """The rush's gain at times t: whole until the sputter, puffs, then nothing."""
    gain = np.where(t < SPUTTER_FROM, 1.0, 0.0)
    for middle, length, height in SPUTTER_PUFFS:
        inside = np.abs(t - middle) < length / 2
        puff = height * np.cos(math.pi * (t - middle) / length) ** 2
        gain = np.where(inside & (t >= SPUTTER_FROM), np.maximum(gain, puff), gain)
    return gain


def whoomph(n):
    """The blast firing: a burst of air and a thud that drops in pitch, over the rush's first
    few tenths of a second, and silent long before the loop comes round. Returns the sound,
    dense and near full scale, and its envelope (0 to 1)."""
    m = int(0.7 * RATE)
    s = np.arange(m) / RATE
    rng = np.random.default_rng(21)
    air = band(rng.standard_normal(m), 250, 3000)
    thud = np.sin(phase_of(110 + 260 * np.exp(-s / 0.05)))
    raw = air / np.std(air) + 0.8 * thud / np.std(thud)
    env = np.zeros(n)
    # Up in 10 ms, down by half in about 200 ms, and no corner where it ends.
    env[:m] = envelope(m, 0.010, 0.3, 1.0) * smooth_env(2 * m)[m:] ** 0.5
    burst = np.zeros(n)
    burst[:m] = 0.95 * np.tanh(3.0 * raw / np.std(raw))
    return burst * env, env


def aww():
    """The hurt cry: a short "ow!" that falls away, a voice made of harmonics under vowel
    formants. It is heard at every bite, so it hits at once and does not linger: a catch of
    breath and a sharp start on a high note, then the pitch and the level fall quickly."""
    t = seconds(0.36)
    n = len(t)
    u = t / t[-1]
    f0 = (300 + 130 * np.exp(-t / 0.035)) * (0.7 ** u) * (1 + 0.012 * np.sin(TAU * 8 * t))
    formants = [  # (start Hz, end Hz, width, gain): "o" opening toward "w"
        (760, 520, 120, 1.0),
        (1300, 900, 150, 0.6),
        (2700, 2500, 220, 0.22),
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
    x /= np.max(np.abs(x))
    # Up in 5 ms, half gone by 0.12 s, and a soft end.
    env = envelope(n, 0.005, 0.17, 1.0) * np.minimum(1, (t[-1] - t) / 0.08)
    # The catch of breath at the start: a puff of noise in the voice's range, 30 ms long.
    m = int(0.03 * RATE)
    breath = band(np.random.default_rng(17).standard_normal(m), 500, 2400)
    breath *= envelope(m, 0.004, 0.03, 3.0) * smooth_env(2 * m)[m:] / np.max(np.abs(breath))
    x = x * env
    x[:m] += 0.7 * breath
    return x


def bird_hit():
    """A bird hit: a soft pop and a squeak."""
    rng = np.random.default_rng(5)
    t = seconds(0.32)
    n = len(t)
    pop = band(rng.standard_normal(n), 60, 900) * envelope(n, 0.002, 0.04, 4)
    pop += 1.0 * np.sin(phase_of(220 * np.exp(-t * 12) + 80)) * envelope(n, 0.002, 0.06, 4)
    sq = np.zeros(n)
    start = int(0.04 * RATE)
    m = int(0.16 * RATE)
    s = np.arange(m) / RATE
    fs = 1900 + 900 * np.sin(math.pi * s / s[-1]) - 500 * s / s[-1]
    sq[start : start + m] = np.sin(phase_of(fs)) * smooth_env(m)
    return pop + 0.55 * sq


def bubble():
    """A bubble catches the player: a plop and two smaller ones, each ringing a little, so
    that the sound has body without a loud first peak."""
    t = seconds(0.38)
    n = len(t)
    x = np.zeros(n)
    for start, base, gain in ((0.0, 260, 1.0), (0.13, 420, 0.7), (0.21, 360, 0.5)):
        i = int(start * RATE)
        s = t[: n - i]
        f = base * (1 + 2.4 * (1 - np.exp(-s / 0.03)))
        x[i:] += gain * np.sin(phase_of(f)) * envelope(n - i, 0.004, 0.2, 4)
    return x


def slime_hit():
    """A slime hits the player: a wet splat with droplets, in the middle of the range so that
    small speakers still carry it."""
    rng = np.random.default_rng(11)
    t = seconds(0.5)
    n = len(t)
    splat = band(rng.standard_normal(n), 220, 2600)
    # Noise keeps its character when its peaks are rounded off, and gains body for its peak.
    splat = np.tanh(2.5 * splat / np.max(np.abs(splat))) * envelope(n, 0.004, 0.24, 3.5)
    squelch = np.sin(phase_of(340 * np.exp(-t * 5) + 150 + 25 * np.sin(TAU * 23 * t))) * envelope(n, 0.04, 0.3, 3)
    x = splat + 0.7 * highpass(squelch, 150)
    for start, fr in ((0.17, 900), (0.24, 1300), (0.3, 700), (0.36, 1100)):
        i = int(start * RATE)
        m = int(0.05 * RATE)
        s = np.arange(m) / RATE
        x[i : i + m] += 0.6 * np.sin(phase_of(fr * (1 + 1.5 * s / s[-1]))) * envelope(m, 0.002, 0.05, 4) * smooth_env(m)
    return x


SOUNDS = {
    "aani4.wav": zap,
    "aani1.wav": fall,
    "boost.wav": blast,
    "aww.wav": aww,
    "aani5.wav": bird_hit,
    "bubble.wav": bubble,
    "slime.wav": slime_hit,
}


LOOPS = {"boost.wav"}


def build(sound_dir):
    os.makedirs(sound_dir, exist_ok=True)
    for name, make in SOUNDS.items():
        level, drive = LEVELS[name]
        samples = finish(make(), level, loop=name in LOOPS, drive=drive)
        with open(os.path.join(sound_dir, name), "wb") as f:
            f.write(wav_bytes(samples))
