#!/usr/bin/python3
"""Reads the images that burn_engine_tests wrote with independent tools and
compares their samples with ffmpeg's own decoding of the same files.

usage: verify-images.py IMAGES_FOLDER MEDIA_FOLDER
"""
import os
import re
import subprocess
import sys
import tempfile

import numpy as np

images, media = sys.argv[1], sys.argv[2]
failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message)
    if not condition:
        failures.append(message)


def run(*command, cwd=None):
    result = subprocess.run(command, capture_output=True, text=True, cwd=cwd)
    return result.returncode, result.stdout + result.stderr


def ffmpeg_pcm(path, rate=44100, extra=()):
    """The file as ffmpeg decodes it: 16-bit stereo at the disc's rate, with
    its best resampler where the rate differs."""
    command = ["ffmpeg", "-nostdin", "-v", "error", "-i", path, *extra,
               "-af", "aresample=resampler=soxr:precision=28", "-ar", str(rate),
               "-ac", "2", "-f", "s16le", "-"]
    out = subprocess.run(command, capture_output=True, check=True).stdout
    return np.frombuffer(out, dtype="<i2").reshape(-1, 2)


def cue_starts(cue_path):
    starts = []
    with open(cue_path, encoding="utf-8") as cue:
        for line in cue:
            found = re.match(r"\s*INDEX 01 (\d+):(\d+):(\d+)", line)
            if found:
                m, s, f = map(int, found.groups())
                starts.append((m * 60 + s) * 75 + f)
    return starts


def snr_db(reference, actual):
    reference = reference.astype(np.float64)
    noise = actual.astype(np.float64) - reference
    return 10 * np.log10((reference ** 2).sum() / max((noise ** 2).sum(), 1e-9))


def image(folder, name):
    cue = os.path.join(images, folder, name + ".cue")
    bin_path = os.path.join(images, folder, name + ".bin")
    samples = np.fromfile(bin_path, dtype="<i2").reshape(-1, 2)
    starts = cue_starts(cue)
    sectors = len(samples) // 588
    ends = starts[1:] + [sectors]
    tracks = [samples[a * 588:b * 588] for a, b in zip(starts, ends)]
    return cue, bin_path, starts, sectors, tracks


def independent_readers(cue, bin_path, starts, sectors):
    folder = os.path.dirname(cue)
    code, out = run("cdrdao", "toc-info", os.path.basename(cue), cwd=folder)
    check(code == 0 and f"{len(starts)} tracks" in out, f"cdrdao reads {len(starts)} tracks")
    code, out = run("cd-info", "--no-header", "--no-device-info", "--cue-file", cue)
    lsns = [int(x) for x in re.findall(r"^\s*\d+: \d\d:\d\d:\d\d\s+(\d+) audio", out, re.M)]
    check(lsns == starts, f"cd-info finds the tracks at the CUE's sectors {starts} (got {lsns})")
    check(f"{sectors:06d} leadout" in out, f"cd-info puts the lead-out after {sectors} sectors")
    with tempfile.TemporaryDirectory() as work:
        code, out = run("bchunk", "-w", bin_path, cue, os.path.join(work, "trk"))
        wavs = sorted(f for f in os.listdir(work) if f.endswith(".wav"))
        check(code == 0 and len(wavs) == len(starts), f"bchunk splits {len(starts)} tracks")
        code, out = run("shntool", "len", *wavs, cwd=work)
        rows = [l for l in out.splitlines() if l.strip().endswith(".wav")]
        flags = [l.split()[3] for l in rows]
        check(len(rows) == len(starts) and all(f == "---" for f in flags),
              f"shntool flags no track as not CD quality, not sector-aligned or too short {flags}")


def padded_with_silence(track, frames):
    return not track[frames:].any()


def mixed():
    cue, bin_path, starts, sectors, tracks = image("mixed", "Mixed Bag")
    independent_readers(cue, bin_path, starts, sectors)
    wav = ffmpeg_pcm(os.path.join(media, "mixed-1.wav"))
    check(np.array_equal(tracks[0][:len(wav)], wav) and padded_with_silence(tracks[0], len(wav)),
          "the 44.1 kHz 16-bit WAV is bit-exact, then silence")
    check(len(tracks[0]) == -(-len(wav) // 588) * 588, "the WAV takes whole sectors, no more")

    # MP3: the encoder's delay and padding are trimmed, as ffmpeg does.
    mp3 = ffmpeg_pcm(os.path.join(media, "mixed-2.mp3"))
    n = len(mp3)
    snr = snr_db(mp3, tracks[1][:n])
    check(snr > 70, f"the MP3 matches ffmpeg's decoding with no shift: {snr:.1f} dB")
    check(len(tracks[1]) == -(-n // 588) * 588 and padded_with_silence(tracks[1], n),
          f"the MP3 keeps ffmpeg's length of {n} frames, without the encoder's delay and padding")

    ogg = ffmpeg_pcm(os.path.join(media, "mixed-3.ogg"))
    n = min(len(ogg), len(tracks[2]))
    snr = snr_db(ogg[:n], tracks[2][:n])
    check(abs(len(ogg) - round(6.2 * 44100)) <= 2, "ffmpeg gives 6.2 s for the Ogg")
    check(snr > 80, f"the 48 kHz Ogg resampled matches ffmpeg's soxr with no shift: {snr:.1f} dB")
    check(len(tracks[2]) == -(-len(ogg) // 588) * 588 and padded_with_silence(tracks[2], len(ogg) + 1),
          "the Ogg keeps its length and is padded with silence")

    short = ffmpeg_pcm(os.path.join(media, "short.wav"))
    check(len(tracks[3]) == 300 * 588 and np.array_equal(tracks[3][:len(short)], short)
          and padded_with_silence(tracks[3], len(short)), "the 2 s track is padded to 4 s")


def tone_level(samples, frequency, rate=44100):
    n = np.arange(len(samples))
    basis = np.stack([np.sin(2 * np.pi * frequency * n / rate), np.cos(2 * np.pi * frequency * n / rate)], 1)
    coefficients, *_ = np.linalg.lstsq(basis, samples / 32768.0, rcond=None)
    return float(np.hypot(*coefficients))


def channels():
    cue, bin_path, starts, sectors, tracks = image("channels", "Channels")
    independent_readers(cue, bin_path, starts, sectors)
    # Mono goes to both sides at full level (ffmpeg's own upmix lowers it by 3 dB).
    out = subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-i", os.path.join(media, "mono.wav"),
                          "-f", "s16le", "-"], capture_output=True, check=True).stdout
    mono = np.frombuffer(out, dtype="<i2")
    check(np.array_equal(tracks[0][:len(mono), 0], mono) and np.array_equal(tracks[0][:len(mono), 1], mono),
          "mono is copied to both sides bit for bit")

    # Each of the six channels carries its own tone; the mix's coefficients
    # show as the tones' levels on each side.
    middle = tracks[1][20000:120000].astype(np.float64)
    s = 1 + 2 * 0.70710678
    expected = {300: (0.3 / s, 0), 400: (0, 0.3 / s), 500: (0.3 * 0.70710678 / s,) * 2,
                60: (0, 0), 700: (0.3 * 0.70710678 / s, 0), 800: (0, 0.3 * 0.70710678 / s)}
    for frequency, (left, right) in expected.items():
        got = (tone_level(middle[:, 0], frequency), tone_level(middle[:, 1], frequency))
        check(abs(got[0] - left) < 2e-4 and abs(got[1] - right) < 2e-4,
              f"5.1 downmix: {frequency} Hz at {got[0]:.4f}/{got[1]:.4f}, expected {left:.4f}/{right:.4f}")

    hires = ffmpeg_pcm(os.path.join(media, "hires.wav"))
    n = min(len(hires), len(tracks[2]))
    snr = snr_db(hires[:n], tracks[2][:n])
    check(snr > 80 and abs(len(hires) - 3 * 44100) <= 2,
          f"96 kHz 24-bit resampled matches ffmpeg's soxr: {snr:.1f} dB")

    # WMA decoders keep different delays (and under Wine its last packet is
    # not drained); compare where both have sound, once aligned.
    wma = ffmpeg_pcm(os.path.join(media, "stereo.wma")).astype(np.float64)
    ours = tracks[3].astype(np.float64)
    size = 1 << 20
    correlation = np.fft.irfft(np.fft.rfft(ours[:, 0], size) * np.conj(np.fft.rfft(wma[:, 0], size)), size)
    lag = int(np.argmax(correlation))
    lag = lag if lag < size // 2 else lag - size
    ours, wma = (ours[lag:], wma) if lag >= 0 else (ours, wma[-lag:])
    n = min(len(wma), int(np.nonzero(ours.any(1))[0][-1]) + 1) - 4096
    snr = snr_db(wma[:n], ours[:n])
    check(snr > 80 and n > 2.8 * 44100,
          f"the WMA matches ffmpeg's decoding at {lag:+d} frames over {n} frames: {snr:.1f} dB")


mixed()
channels()
print(f"{len(failures)} failed" if failures else "all image checks passed")
sys.exit(1 if failures else 0)
