"""The sounds as the player hears them through the mixer, which adds the playing channels and
clamps the sum: no clipping when sounds overlap, loudness that follows how often each sound
plays, no clicks, and a blast loop that repeats without a seam.

Run as a script it prints the figures these tests assert on:
    python3 tests/art/test_sounds.py   (Debian's python3, the Makefile's PYTHON)
"""

import math
import os
import struct

import numpy as np
import pytest

from harness import catalogue

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
RATE = 22050
FULL = 32768.0

# How often each sound plays, most often first: every struck bird, every magic attack, every
# bite, the bubbles and slimes now and then, and the fall once a game. The blast loops under
# everything for five seconds at a time.
BY_USE = ["aani5.wav", "aani4.wav", "aww.wav", "bubble.wav", "slime.wav", "aani1.wav"]
BLAST = "boost.wav"
ATTACK, BIRD_HIT = "aani4.wav", "aani5.wav"
# Several of a kind can sound at once: attacks take the first free channel, and the blast
# strikes birds on a channel of its own while stars strike them on another.
STACKING = {ATTACK, BIRD_HIT}


def sound_files():
    return [e.file_name for e in catalogue.sounds()]


def read_wav(path):
    """The samples of a plain 16-bit mono RIFF WAV, as floats of full scale 1."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", path
    at, samples = 12, None
    while at + 8 <= len(data):
        chunk, size = data[at : at + 4], struct.unpack("<I", data[at + 4 : at + 8])[0]
        if chunk == b"fmt ":
            fmt, channels, rate = struct.unpack("<HHI", data[at + 8 : at + 16])
            bits = struct.unpack("<H", data[at + 22 : at + 24])[0]
            assert (fmt, channels, rate, bits) == (1, 1, RATE, 16), path
        elif chunk == b"data":
            samples = np.frombuffer(data[at + 8 : at + 8 + size], dtype="<i2")
        at += 8 + size + (size & 1)
    return samples.astype(np.float64) / FULL


def load_all():
    return {n: read_wav(os.path.join(ROOT, "Data", "Sound", n)) for n in sound_files()}


def dbfs(x):
    return 20 * math.log10(max(x, 1e-9))


# ---- mixing ---------------------------------------------------------------------------------


def _block_env(x, block):
    n = -(-len(x) // block) * block
    p = np.zeros(n)
    p[: len(x)] = x
    p = p.reshape(-1, block)
    return p.max(axis=1), p.min(axis=1)


def worst_overlap(a, b, loop_a=False, block=64):
    """The largest |a + b| over every start of b against a: b starting anywhere inside a, or
    overlapping its start or end. With loop_a, a repeats without end and b may start at any
    point of its period.

    Exact, found by bounding each range of offsets from block envelopes and mixing only the
    ranges whose bound can still beat the best mix found so far.
    """
    if loop_a:
        period = len(a)
        reps = -(-(period + len(b) + 2 * block) // period)
        a = np.tile(a, reps)
        starts = range(0, -(-period // block))
    else:
        pad = len(b) + block
        a = np.concatenate([np.zeros(pad), a, np.zeros(pad)])
        starts = range(0, -(-(len(a) - pad) // block))
    a_hi, a_lo = _block_env(a, block)
    b_hi, b_lo = _block_env(b, block)
    nb = len(b_hi)
    bounds = []
    for d in starts:
        # b shifted by d*block + r (0 <= r < block) touches a's blocks d+i and d+i+1.
        i = np.arange(nb)
        j0, j1 = d + i, np.minimum(d + i + 1, len(a_hi) - 1)
        ok = j0 < len(a_hi)
        if not ok.any():
            continue
        i, j0, j1 = i[ok], j0[ok], j1[ok]
        hi = np.max(b_hi[i] + np.maximum(a_hi[j0], a_hi[j1]))
        lo = np.min(b_lo[i] + np.minimum(a_lo[j0], a_lo[j1]))
        bounds.append((max(hi, -lo), d))
    bounds.sort(reverse=True)
    best = 0.0
    for bound, d in bounds:
        if bound <= best:
            break
        for r in range(block):
            s = d * block + r
            seg = a[s : s + len(b)]
            if len(seg) < len(b):
                seg = np.concatenate([seg, np.zeros(len(b) - len(seg))])
            best = max(best, float(np.max(np.abs(seg + b))))
    return best


def peak_alignment(*sounds):
    """The mix of sounds whose largest samples of one sign fall on the same instant."""
    return max(sum(float(s.max()) for s in sounds), sum(float(-s.min()) for s in sounds))


def pair_peaks(snd):
    """The worst mix of every pair that the game can play together, in full-scale units."""
    out = {}
    names = sorted(snd)
    for i, a in enumerate(names):
        for b in names[i:]:
            if a == b and a not in STACKING:
                continue  # a fixed channel cuts its own sound short when it starts again
            if b == BLAST:
                a, b = b, a
            out[(a, b)] = worst_overlap(snd[a], snd[b], loop_a=(a == BLAST))
    return out


# ---- loudness ---------------------------------------------------------------------------------


def _biquad_response(f, kind, f0, q, gain_db=0.0):
    """The complex response at frequencies f of the shelf and high-pass filters of the
    broadcast loudness meter, made for this sample rate."""
    w0 = 2 * math.pi * f0 / RATE
    alpha = math.sin(w0) / (2 * q)
    cw = math.cos(w0)
    if kind == "shelf":
        A = 10 ** (gain_db / 40)
        sa = 2 * math.sqrt(A) * alpha
        b = [A * ((A + 1) + (A - 1) * cw + sa), -2 * A * ((A - 1) + (A + 1) * cw), A * ((A + 1) + (A - 1) * cw - sa)]
        a = [(A + 1) - (A - 1) * cw + sa, 2 * ((A - 1) - (A + 1) * cw), (A + 1) - (A - 1) * cw - sa]
    else:
        b = [(1 + cw) / 2, -(1 + cw), (1 + cw) / 2]
        a = [1 + alpha, -2 * cw, 1 - alpha]
    z = np.exp(-1j * 2 * math.pi * f / RATE)
    return (b[0] + b[1] * z + b[2] * z * z) / (a[0] + a[1] * z + a[2] * z * z)


def weighted(x, small_speaker=False, loop=False):
    """The signal as the loudness meter hears it; a small speaker also loses the bass."""
    n = len(x) if loop else len(x) + RATE // 2
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    h = _biquad_response(f, "shelf", 1681.97, 0.7072, 4.0) * _biquad_response(f, "hp", 38.14, 0.5003)
    if small_speaker:
        h = h * _biquad_response(f, "hp", 300.0, 0.7071) ** 2
    return np.fft.irfft(np.fft.rfft(x, n) * h, n)


def loudness(x, small_speaker=False, loop=False):
    """Loudness in LUFS: the loudest 400 ms of a short sound, the whole period of a loop."""
    y = weighted(x, small_speaker, loop)
    if loop:
        ms = float(np.mean(y * y))
    else:
        win = int(0.4 * RATE)
        c = np.concatenate([[0.0], np.cumsum(y * y)])
        if len(y) <= win:
            ms = float(c[-1]) / win
        else:
            ms = float(np.max(c[win:] - c[:-win])) / win
    return -0.691 + 10 * math.log10(max(ms, 1e-12))


# ---- clicks, the loop and its bass -------------------------------------------------------


def clicks(x, loop=False):
    """Times (s) of clicks: a corner or a step in a waveform splashes a burst across the
    highs, where these sounds otherwise change slowly. A click is a 2 ms stretch whose level
    above 6 kHz stands ten times over the median of the 20 ms around it, above -90 dBFS."""
    if loop:  # the middle of three passes, so that the seam is judged like any other point
        x = np.tile(x, 3)
    spectrum = np.fft.rfft(x)
    spectrum[np.fft.rfftfreq(len(x), 1.0 / RATE) < 6000] = 0
    highs = np.fft.irfft(spectrum, len(x))
    frame = RATE // 500
    n = len(highs) // frame * frame
    level = np.sqrt(np.mean(highs[:n].reshape(-1, frame) ** 2, axis=1))
    times = []
    for i in range(len(level)):
        around = np.concatenate([level[max(0, i - 10) : max(0, i - 1)], level[i + 2 : i + 11]])
        if len(around) and level[i] > 10 * np.median(around) and level[i] > 10 ** (-90 / 20):
            times.append(i * frame / RATE)
    if loop:
        third = len(x) / 3 / RATE
        times = [t - third for t in times if third <= t < 2 * third]
    return times


def edge_steps(x):
    """How far a one-shot sound starts and ends from silence (full-scale units)."""
    return abs(float(x[0])), abs(float(x[-1]))


def bass_share(x, cutoff=150.0):
    power = np.abs(np.fft.rfft(x)) ** 2
    f = np.fft.rfftfreq(len(x), 1.0 / RATE)
    return float(power[f < cutoff].sum() / power.sum())


def swell_rate(x):
    """The rate (Hz) of the loop's strongest slow swell in loudness, 0.5 to 8 Hz."""
    frame = RATE // 100
    n = len(x) // frame * frame
    level = np.sqrt(np.mean(x[:n].reshape(-1, frame) ** 2, axis=1))
    swells = np.abs(np.fft.rfft(level - level.mean()))
    f = np.fft.rfftfreq(len(level), frame / RATE)
    band = (f >= 0.5) & (f <= 8)
    return float(f[band][np.argmax(swells[band])])


def seam_step(x):
    """The step from the loop's last sample to its first, against the largest step inside."""
    return abs(float(x[0] - x[-1])), float(np.max(np.abs(np.diff(x))))


# ---- the checks -------------------------------------------------------------------------------


@pytest.fixture(scope="module")
def snd():
    return load_all()


def test_the_catalogue_names_every_sound_the_tests_rank(snd):
    assert sorted(snd) == sorted(BY_USE + [BLAST])


def test_no_two_sounds_clip_when_they_overlap_at_any_offset(snd):
    worst = {pair: dbfs(p) for pair, p in pair_peaks(snd).items()}
    loud = {pair: round(v, 2) for pair, v in worst.items() if v > -0.5}
    assert not loud, "mixes above -0.5 dBFS: %r" % loud


def test_blast_attack_and_bird_hit_do_not_clip_with_their_peaks_together(snd):
    assert dbfs(peak_alignment(snd[BLAST], snd[ATTACK], snd[BIRD_HIT])) < -0.3


def test_loudness_follows_how_often_each_sound_plays(snd):
    for small in (False, True):
        level = {n: loudness(snd[n], small) for n in BY_USE}
        # The sound heard most is not the loudest, and none of the rare ones is lost.
        assert level[BIRD_HIT] < max(level.values()) - 2, level
        for rare in ("bubble.wav", "slime.wav", "aani1.wav"):
            assert level[rare] > level[BIRD_HIT], (rare, level)
        assert max(level.values()) - min(level.values()) < 8, level
        # The blast is a bed under the play: it is not louder than the one-shots over it.
        assert loudness(snd[BLAST], small, loop=True) < level[ATTACK], level


def test_no_sound_clicks(snd):
    for name, x in snd.items():
        loop = name == BLAST
        assert clicks(x, loop) == [], name
        if not loop:
            assert max(edge_steps(x)) < 0.003, name


def rms(x):
    return math.sqrt(float(np.mean(x * x)))


def test_blast_outlasts_a_blast_loops_without_a_seam_and_fires_with_a_whoomph(snd):
    x = snd[BLAST]
    # A blast lasts five seconds: one blast never hears the loop come round.
    assert len(x) >= 5 * RATE
    step, largest = seam_step(x)
    assert step <= 0.25 * largest
    # A loop that starts and ends on silence does not thump when the blast begins.
    assert abs(x[0]) < 0.01 and abs(x[-1]) < 0.01
    # The moment it fires: the first tenth of a second stands 6 dB over the rush after it.
    assert 20 * math.log10(rms(x[: RATE // 10]) / rms(x[RATE // 10 :])) >= 6
    assert abs(swell_rate(x[RATE:]) - 2.0) < 0.26
    assert bass_share(x) < 0.15


def levels_db(x, ms=10):
    """The RMS level (dBFS) of each whole stretch of `ms` milliseconds."""
    n = RATE * ms // 1000
    blocks = x[: len(x) // n * n].reshape(-1, n)
    return 10 * np.log10(np.mean(blocks * blocks, axis=1) + 1e-20)


def test_blast_sputters_out_before_it_ends(snd):
    level = levels_db(snd[BLAST])  # 4.6 s is level[460]
    # The rush holds to 4.6 s, then coughs out, a gap and a puff, and from 4.9 s it is silent:
    # the blast's end at 5 s cuts nothing.
    cough = level[460:490]
    gap = np.argmax(cough < cough.max() - 20)
    assert level[400:460].min() > -30 and cough[gap] < cough.max() - 20, np.round(cough)
    assert cough[gap:].max() > cough.max() - 12 and levels_db(snd[BLAST], 50)[98:].max() < -40


def test_attack_is_a_short_mellow_hit_as_loud_as_the_others(snd):
    x = snd[ATTACK]
    level = levels_db(x)
    assert (level >= level.max() - 20).sum() * 0.010 <= 0.3
    mag = np.abs(np.fft.rfft(x))
    assert (mag * np.fft.rfftfreq(len(x), 1.0 / RATE)).sum() / mag.sum() <= 1500
    # A hit, not a tone: in each 20 ms of its first 0.2 s, no one spectral line holds most of it.
    p = np.abs(np.fft.rfft(x[:4410].reshape(10, 441) * np.hanning(441))) ** 2
    line = sum(np.roll(p, k, axis=1) for k in range(-2, 3)).max(axis=1)
    assert np.median(line / p.sum(axis=1)) < 0.6
    for small in (False, True):
        others = [loudness(snd[n], small) for n in BY_USE if n != ATTACK]
        assert abs(loudness(x, small) - np.median(others)) <= 1.5


def attack_and_sustain_ms(x):
    """How long a sound takes to come within 6 dB of its peak level, and how long it stays
    within 12 dB of it, in 5 ms steps."""
    frame = RATE // 200
    level = np.sqrt(np.mean(x[: len(x) // frame * frame].reshape(-1, frame) ** 2, axis=1))
    return int(np.argmax(level >= level.max() / 2)) * 5, int((level >= level.max() / 4).sum()) * 5


def test_hurt_cry_hits_at_once_fades_fast_and_is_no_louder_than_the_rarer_sounds(snd):
    x = snd["aww.wav"]
    attack, sustain = attack_and_sustain_ms(x)
    assert attack <= 15, "no sharp start"
    assert sustain <= 250, "it lingers"
    for small in (False, True):
        cry = loudness(x, small)
        for other in ("aani4.wav", "bubble.wav", "slime.wav", "aani1.wav"):
            assert cry <= loudness(snd[other], small), other


def report():
    snd = load_all()
    pairs = pair_peaks(snd)
    worst = sorted(pairs.items(), key=lambda kv: -kv[1])
    print("worst pairs (dBFS):")
    for (a, b), p in worst[:6]:
        print("  %-10s + %-10s %+6.2f" % (a, b, dbfs(p)))
    print("blast + attack + bird hit at peak alignment: %+.2f dBFS"
          % dbfs(peak_alignment(snd[BLAST], snd[ATTACK], snd[BIRD_HIT])))
    print("%-11s %6s %6s %8s %8s  clicks" % ("sound", "len s", "peak", "LUFS", "small"))
    for n in BY_USE + [BLAST]:
        x = snd[n]
        loop = n == BLAST
        print("%-11s %6.2f %+6.1f %8.1f %8.1f  %s edges %s"
              % (n, len(x) / RATE, dbfs(np.max(np.abs(x))), loudness(x, False, loop),
                 loudness(x, True, loop),
                 ["%.0f ms" % (t * 1000) for t in clicks(x, loop)],
                 ["%.4f" % e for e in edge_steps(x)]))
    x = snd[BLAST]
    print("blast: %.2f s, seam step %.4f (largest step %.4f), first sample %+.1f dBFS, swell %.2f Hz, "
          "below 150 Hz %.0f %%" % (len(x) / RATE, *seam_step(x), dbfs(abs(x[0])), swell_rate(x),
                                   100 * bass_share(x)))
    print("hurt cry: within 6 dB of its peak after %d ms, within 12 dB of it for %d ms"
          % attack_and_sustain_ms(snd["aww.wav"]))
    print("blast onset: first 100 ms %+.1f dB over the rest"
          % (20 * math.log10(rms(x[: RATE // 10]) / rms(x[RATE // 10 :]))))


if __name__ == "__main__":
    report()
