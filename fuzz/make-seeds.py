#!/usr/bin/python3
"""Makes the fuzz targets' starting inputs in the folder given, one folder per
kind: short files of every shape the play-time fixtures have (made with
ffmpeg, a fraction of a second long so the fuzzer mutates headers, not
samples), a few edited into the awkward forms real files take, and labels
for the naming targets. Runs again only when this script changes.
    make-seeds.py FOLDER"""
import hashlib, os, shutil, struct, subprocess, sys

out = sys.argv[1]
stamp = hashlib.sha1(open(__file__, "rb").read()).hexdigest()
if os.path.exists(f"{out}/.stamp") and open(f"{out}/.stamp").read() == stamp:
    sys.exit(0)
shutil.rmtree(out, ignore_errors=True)
work = f"{out}/.work"
os.makedirs(work)


def ffmpeg(*arguments):
    subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y", *arguments], check=True)


# kind, name, seconds, rate, channels, then ffmpeg's output options.
TONES = """
wav s16_stereo.wav 0.05 44100 2 -c:a pcm_s16le
wav u8_mono.wav 0.05 8000 1 -c:a pcm_u8
wav s24_6ch_extensible.wav 0.02 48000 6 -c:a pcm_s24le
wav f32_mono.wav 0.05 22050 1 -c:a pcm_f32le
wav f64_stereo.wav 0.02 44100 2 -c:a pcm_f64le
wav rf64.wav 0.05 44100 2 -c:a pcm_s16le -rf64 always
wav with_list.wav 0.05 44100 2 -c:a pcm_s16le -metadata title=Seed
wav wave64.w64 0.05 44100 2 -c:a pcm_s16le -f w64
mp3 cbr_info.mp3 0.2 44100 2 -c:a libmp3lame -b:a 128k
mp3 vbr_xing.mp3 0.2 44100 2 -c:a libmp3lame -q:a 2
mp3 cbr_no_header.mp3 0.2 44100 2 -c:a libmp3lame -b:a 128k -write_xing 0
mp3 mpeg2_22050_mono.mp3 0.3 22050 1 -c:a libmp3lame -q:a 5
mp3 mpeg25_8000.mp3 0.4 8000 1 -c:a libmp3lame -b:a 16k
mp3 layer2.mp2 0.2 44100 2 -c:a mp2 -b:a 192k -f mp2
mp3 id3v2_and_v1.mp3 0.2 44100 2 -c:a libmp3lame -b:a 64k -write_id3v1 1 -metadata artist=Someone
ogg vorbis_stereo.ogg 0.1 44100 2 -c:a libvorbis
ogg vorbis_mono.ogg 0.1 48000 1 -c:a libvorbis
ogg opus_stereo.opus 0.1 48000 2 -c:a libopus
ogg opus_from_16000.opus 0.1 16000 1 -c:a libopus
ogg flac_in_ogg.oga 0.05 44100 2 -c:a flac -f ogg
asf wma2_stereo.wma 0.2 44100 2 -c:a wmav2
asf wma1_mono.wma 0.2 22050 1 -c:a wmav1
flac stereo.flac 0.05 44100 2 -c:a flac
flac mono_24bit.flac 0.05 48000 1 -c:a flac -sample_fmt s32
aiff s16_stereo.aiff 0.05 44100 2 -c:a pcm_s16be
aiff aifc_float.aifc 0.05 44100 1 -c:a pcm_f32be -f aiff
"""
files = {}
for line in TONES.strip().splitlines():
    kind, name, seconds, rate, channels, *options = line.split()
    path = f"{work}/{name}"
    ffmpeg("-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}:sample_rate={rate}",
           "-ac", channels, *options, path)
    files[name] = (kind, open(path, "rb").read())


def syncsafe(n):
    return bytes((n >> shift) & 0x7F for shift in (21, 14, 7, 0))


def id3_tag(text, footer=False):
    payload = b"TIT2" + syncsafe(len(text) + 1) + b"\0\0\0" + text
    head = bytes([4, 0, 0x10 if footer else 0]) + syncsafe(len(payload))
    return b"ID3" + head + payload + (b"3DI" + head if footer else b"")


def vbri(data):  # the header another encoder writes where Xing stands
    at = data.index(b"Xing")
    flags, frames, size = struct.unpack_from(">III", data, at + 4)
    return data[:at] + b"VBRI" + struct.pack(">HHHII", 1, 0, 0, size, frames) + data[at + 18:]


wav, xing = files["s16_stereo.wav"][1], files["vbr_xing.mp3"][1]
EDITED = {
    "wav": {"data_size_ffffffff.wav": wav[:40] + b"\xff\xff\xff\xff" + wav[44:],
            "cut_mid_frame.wav": wav[:len(wav) // 2 + 1]},
    "mp3": {"id3v24_footer.mp3": id3_tag(b"Footer", footer=True) + xing,
            "vbri.mp3": vbri(xing),
            "junk_before_frames.mp3": bytes((i * 7 + 1) % 200 for i in range(300)) +
                                      files["cbr_no_header.mp3"][1],
            "ape_tail.mp3": files["cbr_info.mp3"][1] + b"APETAGEX" + bytes(24)},
    "ogg": {"vorbis_cut_short.ogg": files["vorbis_stereo.ogg"][1][:2000]},
}
for kind, edited in EDITED.items():
    for name, data in edited.items():
        files[name] = (kind, data)

for name, (kind, data) in files.items():
    os.makedirs(f"{out}/{kind}", exist_ok=True)
    open(f"{out}/{kind}/{name}", "wb").write(data)

# Volume labels: as Windows holds them (UTF-16) and as the CUE sheet does (UTF-8).
LABELS = ["Audio CD", "Summer Mix 2024", "CON", "com1.txt", "  leading", "trailing. . ",
          'Say "cheese" <now>?', "日本語のアルバム", "Ünïcødé – Ärger", "🎵 Tunes 🎶",
          "A very long label that goes on and on past sixty-four characters for sure"]
for kind, encoding in [("label16", "utf-16-le"), ("label8", "utf-8")]:
    os.makedirs(f"{out}/{kind}")
    for i, label in enumerate(LABELS):
        open(f"{out}/{kind}/{i:02}", "wb").write(label.encode(encoding))

shutil.rmtree(work)
open(f"{out}/.stamp", "w").write(stamp)
