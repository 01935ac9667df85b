#!/usr/bin/env python3
"""Makes the program's built-in sounds: assets/sounds/<NAME>.wav.

The twelve game sounds are synthesised here (clicks, chimes, a clock tick); the
twenty chatter sounds are synthesised (applause, snoring, a horn ...) or spoken by
espeak-ng and shaped with sox. All clips are 16-bit mono PCM at 22,050 Hz.

Needs python3, espeak-ng and sox (Debian packages of the same names), at
generation time only: the build embeds the committed WAV files.

Usage: tools/make_sounds.py [output folder]   (default: assets/sounds)
"""

import array
import math
import os
import random
import subprocess
import sys
import tempfile
import wave

RATE = 22050


# ---------------------------------------------------------------- building blocks

def silence(seconds):
    return [0.0] * int(seconds * RATE)


def mix_into(track, clip, at, gain=1.0):
    """Adds `clip` into `track` starting at `at` seconds, growing the track."""
    start = int(at * RATE)
    end = start + len(clip)
    if len(track) < end:
        track.extend([0.0] * (end - len(track)))
    for i, s in enumerate(clip):
        track[start + i] += s * gain
    return track


def tone(freq, seconds, partials=((1.0, 1.0),), decay=None, attack=0.003, release=0.01, sweep_to=None,
         vibrato=0.0, vibrato_rate=5.0):
    """A tone made of `partials` (ratio, amplitude), with an exponential `decay`
    time constant (None: held), a short attack and release, and an optional linear
    glide to `sweep_to`."""
    n = int(seconds * RATE)
    out = [0.0] * n
    phases = [0.0] * len(partials)
    for i in range(n):
        t = i / RATE
        f = freq if sweep_to is None else freq + (sweep_to - freq) * (i / n)
        if vibrato:
            f *= 1.0 + vibrato * math.sin(2 * math.pi * vibrato_rate * t)
        env = 1.0
        if t < attack:
            env = t / attack
        if decay is not None:
            env *= math.exp(-t / decay)
        remaining = seconds - t
        if remaining < release:
            env *= max(remaining / release, 0.0)
        s = 0.0
        for k, (ratio, amp) in enumerate(partials):
            phases[k] += 2 * math.pi * f * ratio / RATE
            s += amp * math.sin(phases[k])
        out[i] = s * env
    return out


def noise(seconds, rng):
    return [rng.uniform(-1.0, 1.0) for _ in range(int(seconds * RATE))]


def bandpass(samples, centre, q=2.0):
    """A two-pole band-pass filter (constant peak gain)."""
    w0 = 2 * math.pi * centre / RATE
    alpha = math.sin(w0) / (2 * q)
    b0, b2 = alpha, -alpha
    a0, a1, a2 = 1 + alpha, -2 * math.cos(w0), 1 - alpha
    x1 = x2 = y1 = y2 = 0.0
    out = []
    for x in samples:
        y = (b0 * x + b2 * x2 - a1 * y1 - a2 * y2) / a0
        x2, x1 = x1, x
        y2, y1 = y1, y
        out.append(y)
    return out


def lowpass(samples, cutoff):
    a = math.exp(-2 * math.pi * cutoff / RATE)
    y = 0.0
    out = []
    for x in samples:
        y = (1 - a) * x + a * y
        out.append(y)
    return out


def envelope(samples, points):
    """Multiplies by a piecewise-linear envelope of (seconds, level) points."""
    out = []
    for i, s in enumerate(samples):
        t = i / RATE
        level = points[-1][1]
        for (t0, l0), (t1, l1) in zip(points, points[1:]):
            if t0 <= t < t1:
                level = l0 + (l1 - l0) * (t - t0) / (t1 - t0)
                break
        out.append(s * level)
    return out


def exp_decay(samples, tau, attack=0.002):
    return [s * min(i / (attack * RATE), 1.0) * math.exp(-i / (tau * RATE)) for i, s in enumerate(samples)]


BELL = ((1.0, 1.0), (2.0, 0.35), (3.0, 0.12), (4.2, 0.06))
MARIMBA = ((1.0, 1.0), (4.0, 0.25), (9.2, 0.05))
BRASS = tuple((k, 1.0 / k) for k in range(1, 7))


def note(name):
    """The frequency of a note such as "C5" or "F#4"."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semis = steps[name[0]]
    rest = name[1:]
    if rest.startswith("#"):
        semis += 1
        rest = rest[1:]
    elif rest.startswith("b"):
        semis -= 1
        rest = rest[1:]
    return 440.0 * 2 ** ((semis + 12 * (int(rest) - 4)) / 12)


# ---------------------------------------------------------------- game sounds

def click():
    rng = random.Random(1)
    body = tone(2300, 0.03, ((1.0, 1.0), (1.9, 0.4)), decay=0.004, attack=0.0005)
    snap = exp_decay(bandpass(noise(0.03, rng), 4000, 1.5), 0.002, 0.0002)
    return mix_into(body, snap, 0, 0.8)


def tick():
    rng = random.Random(2)
    wood = tone(2600, 0.07, ((1.0, 1.0), (1.52, 0.6), (2.3, 0.3)), decay=0.006, attack=0.0003)
    snap = exp_decay(bandpass(noise(0.07, rng), 5000, 1.2), 0.0015, 0.0002)
    return mix_into(wood, snap, 0, 1.2)


def clear():
    rng = random.Random(3)
    n = noise(0.28, rng)
    out = []
    # A swish that falls from 3 kHz to 600 Hz.
    w = 0.0
    y1 = y2 = x1 = x2 = 0.0
    for i, x in enumerate(n):
        frac = i / len(n)
        centre = 3000 * (1 - frac) + 600 * frac
        w0 = 2 * math.pi * centre / RATE
        alpha = math.sin(w0) / 4
        a0 = 1 + alpha
        y = (alpha * x - alpha * x2 + 2 * math.cos(w0) * y1 - (1 - alpha) * y2) / a0
        x2, x1 = x1, x
        y2, y1 = y1, y
        out.append(y)
    out = envelope(out, [(0, 0), (0.04, 1), (0.18, 0.6), (0.28, 0)])
    return mix_into(out, tone(700, 0.12, ((1.0, 1.0),), decay=0.04, sweep_to=350), 0.02, 0.15)


def entered():
    ding = tone(note("E5"), 0.9, BELL, decay=0.35)
    dong = tone(note("C5"), 1.1, BELL, decay=0.45)
    return mix_into(ding, dong, 0.32)


def gameover():
    out = []
    for i, n in enumerate(["C5", "E5", "G5"]):
        mix_into(out, tone(note(n), 0.16, BRASS, attack=0.015, release=0.04), i * 0.13, 0.8)
    for n in ["C5", "E5", "G5", "C6"]:
        mix_into(out, tone(note(n), 1.0, BRASS, attack=0.02, release=0.5, vibrato=0.004), 0.42, 0.6)
    return out


def goodword():
    out = tone(note("A5"), 0.3, MARIMBA, decay=0.12)
    return mix_into(out, tone(note("E6"), 0.4, MARIMBA, decay=0.15), 0.09)


def invalid():
    buzz = ((1.0, 1.0), (3.0, 0.33), (5.0, 0.2), (7.0, 0.14))
    out = []
    mix_into(out, tone(150, 0.12, buzz, attack=0.004, release=0.02), 0)
    mix_into(out, tone(157, 0.12, buzz, attack=0.004, release=0.02), 0, 0.7)
    mix_into(out, tone(120, 0.2, buzz, attack=0.004, release=0.05), 0.15)
    mix_into(out, tone(126, 0.2, buzz, attack=0.004, release=0.05), 0.15, 0.7)
    return lowpass(out, 1800)


def rotate():
    rng = random.Random(4)
    whoop = tone(380, 0.2, ((1.0, 1.0), (2.0, 0.3)), attack=0.01, release=0.06, sweep_to=950, vibrato=0.03,
                 vibrato_rate=30)
    air = envelope(bandpass(noise(0.2, rng), 1500, 1.0), [(0, 0), (0.1, 1), (0.2, 0)])
    return mix_into(whoop, air, 0, 0.25)


def roundover():
    out = []
    for i, n in enumerate(["G5", "E5", "C5"]):
        mix_into(out, tone(note(n), 0.9, BELL, decay=0.3), i * 0.2)
    return out


def sendword():
    pop = tone(480, 0.09, ((1.0, 1.0), (2.0, 0.2)), attack=0.002, decay=0.05, sweep_to=1500)
    return mix_into(pop, tone(1500, 0.08, ((1.0, 1.0),), decay=0.03), 0.07, 0.4)


def turn():
    partials = ((1.0, 1.0), (2.76, 0.45), (5.4, 0.2), (8.93, 0.08))
    return tone(note("A5"), 1.2, partials, decay=0.4)


def turnnew():
    out = []
    for i, n in enumerate(["G5", "B5", "D6"]):
        mix_into(out, tone(note(n), 0.45, MARIMBA, decay=0.14), i * 0.085)
    return out


# ---------------------------------------------------------------- chatter sounds

def speak(text, voice="en-us", speed=150, pitch=50, effects=()):
    """Speaks `text` with espeak-ng and returns the samples, shaped by sox `effects`."""
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, "raw.wav")
        out = os.path.join(tmp, "out.wav")
        subprocess.run(["espeak-ng", "-v", voice, "-s", str(speed), "-p", str(pitch), "-w", raw, text], check=True)
        subprocess.run(["sox", "-R", "-D", raw, "-r", str(RATE), "-c", "1", "-b", "16", out, *effects,
                        "silence", "1", "0.02", "0.5%", "reverse", "silence", "1", "0.02", "0.5%", "reverse"],
                       check=True)
        return read_wav(out)


def read_wav(path):
    with wave.open(path, "rb") as w:
        data = array.array("h", w.readframes(w.getnframes()))
    return [s / 32768.0 for s in data]


def cough():
    rng = random.Random(5)
    out = []
    for at, gain in ((0.0, 1.0), (0.33, 0.75)):
        burst = noise(0.3, rng)
        voiced = bandpass(burst, 500, 1.5)
        breath = bandpass(burst, 1700, 0.8)
        body = [a + 0.6 * b for a, b in zip(voiced, breath)]
        body = envelope(body, [(0, 0), (0.008, 1), (0.06, 0.55), (0.16, 0.18), (0.3, 0)])
        bark = tone(150, 0.09, BRASS, attack=0.005, decay=0.04)
        mix_into(body, lowpass(bark, 900), 0, 0.5)
        mix_into(out, body, at, gain)
    return out


def snoring():
    rng = random.Random(6)
    out = []
    for at in (0.0, 2.0):
        # Inhale: the soft palate flutters at about 32 Hz under a swelling breath.
        n = int(1.3 * RATE)
        flutter = []
        phase = 0.0
        for i in range(n):
            phase += 2 * math.pi * (31 + 4 * math.sin(i / n * math.pi)) / RATE
            pulse = max(math.sin(phase), 0.0) ** 6
            flutter.append(pulse * rng.uniform(0.4, 1.0))
        rumble = lowpass(lowpass(flutter, 420), 420)
        breath = bandpass(noise(1.3, rng), 700, 0.7)
        inhale = [r * 6 + 0.18 * b for r, b in zip(rumble, breath)]
        inhale = envelope(inhale, [(0, 0), (0.45, 0.9), (1.0, 1.0), (1.3, 0)])
        mix_into(out, inhale, at)
        # Exhale: a soft whistle of air.
        exhale = envelope(bandpass(noise(0.5, rng), 1100, 2.0), [(0, 0), (0.15, 0.3), (0.5, 0)])
        mix_into(out, exhale, at + 1.35, 0.7)
    return out


def sneezing():
    out = []
    mix_into(out, speak("ah", "en-us+f2", 90, 55), 0)
    mix_into(out, speak("aah", "en-us+f2", 80, 72), 0.45)
    choo = speak("choo!", "en-us+f2", 170, 80)
    mix_into(out, choo, 1.0)
    rng = random.Random(7)
    burst = envelope(bandpass(noise(0.25, rng), 2800, 0.7), [(0, 0), (0.01, 1), (0.08, 0.4), (0.25, 0)])
    return mix_into(out, burst, 1.0, 0.25)


def applause():
    rng = random.Random(8)
    seconds = 2.4
    out = silence(seconds)
    t = 0.0
    while t < seconds - 0.05:
        centre = rng.uniform(900, 2600)
        clap = exp_decay(bandpass(noise(0.05, rng), centre, 1.3), 0.008, 0.0008)
        mix_into(out, clap, t, rng.uniform(0.3, 1.0))
        t += rng.expovariate(45)
    return envelope(out[: int(seconds * RATE)], [(0, 0), (0.15, 1), (1.5, 0.9), (2.4, 0)])


def honk():
    horn = ((1.0, 1.0), (2.0, 0.5), (3.0, 0.33), (4.0, 0.25), (5.0, 0.2))
    out = []
    for at, length in ((0.0, 0.2), (0.3, 0.45)):
        mix_into(out, tone(350, length, horn, attack=0.01, release=0.03), at)
        mix_into(out, tone(440, length, horn, attack=0.01, release=0.03), at, 0.8)
    return lowpass(out, 2500)


def razzberry():
    rng = random.Random(9)
    n = int(1.1 * RATE)
    out = []
    phase = 0.0
    flap = 0.0
    for i in range(n):
        f = 95 * (1 + 0.18 * math.sin(i / RATE * 2 * math.pi * 3.1)) * rng.uniform(0.92, 1.08)
        phase = (phase + f / RATE) % 1.0
        flap += 2 * math.pi * 27 / RATE
        saw = 2 * phase - 1
        out.append(saw * (0.6 + 0.4 * math.sin(flap)) + rng.uniform(-0.25, 0.25))
    out = lowpass(out, 1400)
    return envelope(out, [(0, 0), (0.04, 1), (0.9, 0.85), (1.1, 0)])


def crowd(words, seconds):
    rng = random.Random(10)
    out = []
    voices = ["en-us+m3", "en-us+f3", "en-us+m5", "en-us+f2", "en-gb+m1", "en-us+f4", "en-gb+m4"]
    for i, voice in enumerate(voices):
        word = words[i % len(words)]
        clip = speak(word, voice, rng.randint(110, 150), rng.randint(35, 80), ("tempo", "1.0"))
        mix_into(out, clip, rng.uniform(0, 0.18), rng.uniform(0.5, 0.9))
    roar = envelope(bandpass(noise(seconds, rng), 900, 0.5), [(0, 0), (0.2, 1), (seconds - 0.4, 0.8), (seconds, 0)])
    mix_into(out, roar, 0, 0.15)
    return out


def chatter_sounds():
    reverb = ("reverb", "25", "50", "40")
    return {
        "WAVE1": speak("Doh!", "en-us+m3", 120, 30, ("gain", "-1")),
        "WAVE2": cough(),
        "WAVE3": speak("Hello!", "en-us+f3", 150, 60),
        "WAVE4": speak("Thank you!", "en-us+m1", 150, 50),
        "WAVE5": speak("Where have you been?", "en-us+f2", 150, 55),
        "WAVE6": snoring(),
        "WAVE7": sneezing(),
        "WAVE8": speak("Sorry!", "en-us+m3", 130, 45),
        "WAVE9": speak("Welcome!", "en-us+f3", 140, 60),
        "WAVE10": speak("Yee haw!", "en-us+m4", 160, 75, reverb),
        "WAVE11": speak("Yippee!", "en-us+f4", 170, 90),
        "WAVE12": speak("Oh no!", "en-us+m1", 95, 40),
        "WAVE13": applause(),
        "WAVE14": honk(),
        "WAVE15": crowd(["ooooooh"], 1.3),
        "WAVE16": razzberry(),
        "WAVE17": crowd(["hooray!", "yay!", "woo hoo!"], 1.4),
        "WAVE18": speak("ha ha ha ha ha ha!", "en-us+f3", 210, 90),
        "WAVE19": speak("ho ho ho, ha ha ha!", "en-us+m3", 170, 25),
        "WAVE20": speak("Waaah! boo hoo hoo!", "en-us+f4", 110, 85, ("tremolo", "6", "40")),
    }


# ---------------------------------------------------------------- output

def write_wav(path, samples, loudness_db, peak=0.9):
    """Writes `samples` at the given RMS loudness (dBFS), keeping the peak below `peak`."""
    rms = math.sqrt(sum(s * s for s in samples) / max(len(samples), 1))
    top = max((abs(s) for s in samples), default=0.0)
    if rms > 0:
        gain = min(10 ** (loudness_db / 20) / rms, peak / top)
        samples = [s * gain for s in samples]
    # A few milliseconds of fade at both ends, so that no clip starts or stops with a click.
    fade = min(int(0.004 * RATE), len(samples) // 2)
    for i in range(fade):
        samples[i] *= i / fade
        samples[-1 - i] *= i / fade
    data = array.array("h", (max(-32767, min(32767, int(round(s * 32767)))) for s in samples))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "assets", "sounds")
    os.makedirs(folder, exist_ok=True)
    game = {
        "CLEAR": clear(), "CLICK": click(), "ENTERED": entered(), "GAMEOVER": gameover(),
        "GOODWORD": goodword(), "INVALID": invalid(), "ROTATE": rotate(), "ROUNDOVER": roundover(),
        "SENDWORD": sendword(), "TICK": tick(), "TURN": turn(), "TURNNEW": turnnew(),
    }
    for name, samples in game.items():
        # Clicks and ticks are too short for their loudness to be heard as RMS.
        loudness = 0 if name in ("CLICK", "TICK") else -19
        write_wav(os.path.join(folder, name + ".wav"), samples, loudness, 0.6 if loudness == 0 else 0.7)
    for name, samples in chatter_sounds().items():
        write_wav(os.path.join(folder, name + ".wav"), samples, -17)
    total = sum(os.path.getsize(os.path.join(folder, n + ".wav")) for n in list(game) + list(chatter_sounds_names()))
    print(f"{len(game) + 20} clips, {total} bytes")


def chatter_sounds_names():
    return [f"WAVE{i}" for i in range(1, 21)]


if __name__ == "__main__":
    main()
