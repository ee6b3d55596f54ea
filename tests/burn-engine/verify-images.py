#!/usr/bin/python3
"""Reads the images burn_engine_tests wrote with independent tools, and
compares their samples with ffmpeg's own decoding of the same files.
    verify-images.py IMAGES_FOLDER MEDIA_FOLDER"""
import os, re, subprocess, sys, tempfile
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


def ffmpeg_pcm(name, *options, channels=2):
    """The file as ffmpeg decodes it, 16-bit."""
    out = subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-i", os.path.join(media, name),
                          *options, "-f", "s16le", "-"], capture_output=True, check=True).stdout
    return np.frombuffer(out, dtype="<i2").reshape(-1, channels)


def resampled(name):
    """At the disc's rate, through ffmpeg's best resampler."""
    return ffmpeg_pcm(name, "-af", "aresample=resampler=soxr:precision=28", "-ar", "44100", "-ac", "2")


def snr_db(reference, actual):
    noise = actual.astype(np.float64) - reference
    return 10 * np.log10((reference.astype(np.float64) ** 2).sum() / max((noise ** 2).sum(), 1e-9))


def image(name):
    """The tracks at the CUE sheet's positions, after the independent readers
    have read the image."""
    cue, bin_path = (os.path.join(images, name + ext) for ext in (".cue", ".bin"))
    starts = [(int(m) * 60 + int(s)) * 75 + int(f) for m, s, f in
              re.findall(r"INDEX 01 (\d+):(\d+):(\d+)", open(cue, encoding="utf-8").read())]
    samples = np.fromfile(bin_path, dtype="<i2").reshape(-1, 2)
    sectors = len(samples) // 588
    code, out = run("cdrdao", "toc-info", os.path.basename(cue), cwd=os.path.dirname(cue))
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
        flags = [line.split()[3] for line in out.splitlines() if line.strip().endswith(".wav")]
        check(flags == ["---"] * len(starts),
              f"shntool flags no track as not CD quality, not sector-aligned or too short {flags}")
    return [samples[a * 588:b * 588] for a, b in zip(starts, starts[1:] + [sectors])]


def matches(track, reference, what, min_snr=None):
    """The track is the reference (bit for bit, or at least min_snr dB: two
    resamplers may end a frame apart) in whole sectors, at least 4 s, then
    silence."""
    n = len(reference)
    same = np.array_equal(track[:n], reference) if min_snr is None else snr_db(reference, track[:n]) > min_snr
    sectors = max(-(-n // 588), 300)
    check(same and len(track) == sectors * 588 and not track[n + (min_snr is not None) * 2:].any(),
          f"{what}: {'bit-exact' if min_snr is None else f'{snr_db(reference, track[:n]):.1f} dB'},"
          f" {n} frames in {len(track) // 588} sectors (expected {sectors}), then silence")


tracks = image("mixed/Mixed Bag")
matches(tracks[0], ffmpeg_pcm("mixed-1.wav"), "the 44.1 kHz 16-bit WAV")
# The encoder's delay and padding trimmed, as ffmpeg does: no shift.
matches(tracks[1], ffmpeg_pcm("mixed-2.mp3"), "the MP3", 70)
ogg = resampled("mixed-3.ogg")
check(abs(len(ogg) - round(6.2 * 44100)) <= 2, "ffmpeg gives 6.2 s for the Ogg")
matches(tracks[2], ogg, "the 48 kHz Ogg against ffmpeg's soxr", 80)
matches(tracks[3], ffmpeg_pcm("short.wav"), "the 2 s track, padded to 4 s")
# Mono goes to both sides at full level (ffmpeg's own upmix lowers it by 3 dB).
mono = ffmpeg_pcm("mono.wav", channels=1)
matches(tracks[4], np.hstack([mono, mono]), "mono, copied to both sides")


def level(samples, frequency):
    """The amplitude of a tone in one channel, by least squares."""
    t = np.arange(len(samples)) / 44100
    basis = np.stack([np.sin(2 * np.pi * frequency * t), np.cos(2 * np.pi * frequency * t)], 1)
    return float(np.hypot(*np.linalg.lstsq(basis, samples / 32768, rcond=None)[0]))


def surround_levels(track, what, tolerance):
    """Each of the six channels carries its own tone; the mix's coefficients
    show as the tones' levels on each side."""
    s = 1 + 2 * 0.70710678
    for f, expected in {300: (0.3 / s, 0), 400: (0, 0.3 / s), 500: (0.3 * 0.70710678 / s,) * 2,
                        60: (0, 0), 700: (0.3 * 0.70710678 / s, 0), 800: (0, 0.3 * 0.70710678 / s)}.items():
        got = [level(track[20000:120000, c], f) for c in (0, 1)]
        check(np.allclose(got, expected, atol=tolerance),
              f"{what}: {f} Hz at {got[0]:.4f}/{got[1]:.4f}, expected {expected[0]:.4f}/{expected[1]:.4f}")



surround_levels(tracks[5], "5.1 WAV downmix", 2e-4)
matches(tracks[6], resampled("hires.wav"), "96 kHz 24-bit against ffmpeg's soxr", 80)
# WMA decoders keep different delays (and under Wine its last packet is not
# drained): its tones at their levels, on their sides, for about its 3 s.
wma = tracks[7][10000:120000]
got = [level(wma[:, 0], 440), level(wma[:, 1], 660), level(wma[:, 0], 660), level(wma[:, 1], 440)]
end = np.nonzero(tracks[7].any(1))[0][-1] / 44100
check(np.allclose(got, [0.4, 0.3, 0, 0], atol=0.01) and 2.8 < end < 3.2,
      f"the WMA: 440 Hz left and 660 Hz right at {np.round(got, 4)}, sound until {end:.3f} s")
matches(tracks[8], resampled("loud.wav"), "a full-scale square resampled, clipped not wrapped", 30)


def both_sides(mono):
    return np.hstack([mono, mono])


# Every codec, against ffmpeg's own decoding: bit for bit where the source's
# samples fit 16 bits at 44.1 kHz, else at least the SNR given: ffmpeg
# truncates 24- and 32-bit samples to 16 bits where the engine rounds; IMA
# ADPCM decoders round its steps in two ways; lossy codecs have other
# decoders, resampling other filters.
codecs = [line.strip() for line in open(os.path.join(media, "codecs.txt")) if line.strip()]
tracks = image("codecs/Codecs")
check(len(tracks) == len(codecs), f"one track per codec file ({len(codecs)})")
expectations = {
    "pcm-s24.wav": 78, "pcm-s32.wav": 78, "float32.wav": 85, "float64.wav": 85, "ima-adpcm.wav": 45,
    "vorbis-44k.ogg": 60, "mp2.mp2": 70, "mp3-named.wav": 70,
}
for name, track in zip(codecs, tracks):
    path = "codecs/" + name
    if name == "surround.ogg":
        surround_levels(track, "5.1 Vorbis, its own channel order", 2e-3)
    elif name in ("odd-8bit-mono.wav", "mp3-8k-mono.mp3"):
        mono = ffmpeg_pcm(path, "-af", "aresample=resampler=soxr:precision=28", "-ar", "44100", channels=1)
        matches(track, both_sides(mono), name + ", mono resampled, both sides", 60)
    elif name in ("flac-24-96k.flac", "ima-22k.wav", "opus.opus"):
        matches(track, resampled(path), name + " resampled", {"opus.opus": 50, "ima-22k.wav": 45}.get(name, 80))
    else:
        matches(track, ffmpeg_pcm(path), name, expectations.get(name))

# The three MP3s cut from one tone: one continuous tone across the joins,
# as the tone fitted to the whole 15 s; a gap or a shift would break it.
gapless = np.vstack(image("gapless/Gapless")[:3])[:3 * 220500, 0].astype(np.float64) / 32768
t = np.arange(len(gapless)) / 44100
basis = np.stack([np.sin(2 * np.pi * 1000 * t), np.cos(2 * np.pi * 1000 * t)], 1)
tone = basis @ np.linalg.lstsq(basis, gapless, rcond=None)[0]
for join in (220500, 441000):
    window = slice(join - 2000, join + 2000)
    snr = snr_db(tone[window], gapless[window])
    check(snr > 40, f"the gapless MP3s join at {join} with the tone unbroken ({snr:.1f} dB)")
print(f"{len(failures)} failed" if failures else "all image checks passed")
sys.exit(1 if failures else 0)
