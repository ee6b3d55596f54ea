#!/usr/bin/python3
"""Makes the play-time fixtures with ffmpeg in the folder given, edits some
into the awkward shapes real files come in (odd chunks, tags and headers, cut
short, damaged), and writes manifest.tsv beside them: name, decoded sample
frames, sample rate and whole seconds, as ffmpeg's own decoding of each file
finds them (0 frames: ffmpeg cannot decode it). Runs again only when this
script changes.
    make-fixtures.py FOLDER"""
import hashlib, os, random, shlex, shutil, struct, subprocess, sys

out = sys.argv[1]
stamp = hashlib.sha1(open(__file__, "rb").read()).hexdigest()
if os.path.exists(f"{out}/.stamp") and open(f"{out}/.stamp").read() == stamp:
    sys.exit(0)
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)
os.chdir(out)


def ffmpeg(*arguments):
    subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y", *arguments], check=True)


# A 440 Hz tone: name, seconds, rate, channels, then ffmpeg's output options.
TONES = """
wav_44100_s16_stereo.wav 7.5 44100 2 -c:a pcm_s16le
wav_8000_u8_mono.wav 3.2 8000 1 -c:a pcm_u8
wav_48000_s24_6ch_extensible.wav 5.5 48000 6 -c:a pcm_s24le
wav_96000_s32_stereo.wav 2.3 96000 2 -c:a pcm_s32le
wav_22050_f32_mono_just_under_5s.wav 4.9999 22050 1 -c:a pcm_f32le
wav_44100_f64_stereo.wav 6.01 44100 2 -c:a pcm_f64le
wav_32000_s16_4ch_extensible.wav 3.7 32000 4 -c:a pcm_s16le
wav_rf64.wav 5.25 44100 2 -c:a pcm_s16le -rf64 always
wav_shorter_than_a_second.wav 0.6 44100 2 -c:a pcm_s16le
"Ünïcødé 日本.wav" 9.4 44100 2 -c:a pcm_s16le
wav_75s_8000_u8.wav 75 8000 1 -c:a pcm_u8
mp3_cbr_info.mp3 6.37 44100 2 -c:a libmp3lame -b:a 128k
mp3_vbr_xing.mp3 9.11 44100 2 -c:a libmp3lame -q:a 2
mp3_cbr_no_header.mp3 6.37 44100 2 -c:a libmp3lame -b:a 128k -write_xing 0
mp3_vbr_no_header.mp3 9.11 44100 2 -c:a libmp3lame -q:a 2 -write_xing 0
mp3_mpeg2_22050_mono_vbr.mp3 12.9 22050 1 -c:a libmp3lame -q:a 5
mp3_mpeg2_22050_mono_no_header.mp3 12.9 22050 1 -c:a libmp3lame -q:a 5 -write_xing 0
mp3_mpeg25_8000.mp3 8.2 8000 1 -c:a libmp3lame -b:a 16k
mp3_48000_320k.mp3 4.02 48000 2 -c:a libmp3lame -b:a 320k
mp2_layer2.mp3 7.7 44100 2 -c:a mp2 -b:a 192k -f mp2
mp3_20min_walked.mp3 1200 8000 1 -c:a libmp3lame -b:a 8k -write_xing 0
mp3_id3v1_trailer.mp3 6.6 44100 2 -c:a libmp3lame -q:a 4 -write_id3v1 1 -metadata artist=Someone
vorbis_44100_stereo.ogg 8.8 44100 2 -c:a libvorbis
vorbis_48000_mono_just_under_4s.ogg 3.999 48000 1 -c:a libvorbis
vorbis_22050_6ch.ogg 6.3 22050 6 -c:a libvorbis
opus_48000_stereo.opus 7.3 48000 2 -c:a libopus
opus_from_16000_mono.opus 5.9 16000 1 -c:a libopus
opus_named_dot_ogg.ogg 4.4 48000 2 -c:a libopus
wma2_44100_5s.wma 5 44100 2 -c:a wmav2
wma2_44100_stereo.wma 7.3 44100 2 -c:a wmav2
wma2_48000.wma 6.1 48000 2 -c:a wmav2 -b:a 160k
wma1_22050_mono.wma 9.7 22050 1 -c:a wmav1
wma2_32000.wma 4.5 32000 2 -c:a wmav2
other_flac.flac 6.2 44100 2 -c:a flac
other_aiff.aiff 5.4 44100 2 -c:a pcm_s16be
"""
for line in TONES.strip().splitlines():
    name, seconds, rate, channels, *options = shlex.split(line)
    ffmpeg("-f", "lavfi", "-i", f"sine=frequency=440:duration={seconds}:sample_rate={rate}",
           "-ac", channels, *options, name)
# A large ID3v2 tag: a cover of random pixels, which do not compress.
ffmpeg("-f", "lavfi", "-i", "nullsrc=s=1024x1024,geq=random(1)*255:random(2)*255:random(3)*255",
       "-frames:v", "1", "cover.png")
ffmpeg("-i", "cover.png", "-f", "lavfi", "-i", "sine=frequency=440:duration=5.5:sample_rate=44100",
       "-map", "1:a", "-map", "0:v", "-ac", "2", "-c:a", "libmp3lame", "-q:a", "3", "-c:v", "copy",
       "-id3v2_version", "3", "-metadata", "title=Big cover", "mp3_big_id3v2_cover.mp3")
os.remove("cover.png")


def syncsafe(n):
    return bytes((n >> shift) & 0x7F for shift in (21, 14, 7, 0))


def id3_tag(version, text, padding=0, footer=False):
    body = b"\0" + text.encode("latin-1")
    size = syncsafe(len(body)) if version == 4 else struct.pack(">I", len(body))
    payload = b"TIT2" + size + b"\0\0" + body + b"\0" * padding
    head = bytes([version, 0, 0x10 if footer else 0]) + syncsafe(len(payload))
    return b"ID3" + head + payload + (b"3DI" + head if footer else b"")


def id3_end(data):
    if data[:3] != b"ID3":
        return 0
    size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]
    return 10 + size + (10 if data[5] & 0x10 else 0)


def chunk(data, name):
    pos = 12
    while data[pos:pos + 4] != name:
        size = struct.unpack_from("<I", data, pos + 4)[0]
        pos += 8 + size + (size & 1)
    return pos


def odd_chunk(data):  # a chunk of odd size, with its pad byte, before the samples
    at = chunk(data, b"data")
    data[at:at] = b"junk" + struct.pack("<I", 5) + b"odd!!\0"
    struct.pack_into("<I", data, 4, len(data) - 8)


def data_size(data, size):
    struct.pack_into("<I", data, chunk(data, b"data") + 4, size)


def cut(data, fraction, extra=0):  # cut short, some bytes into a frame
    n = int(len(data) * fraction)
    del data[n - n % 4 + extra:]


def insert(data, at, extra):
    data[at:at] = extra


def ape_tail(data):
    item = struct.pack("<II", 6, 0) + b"Artist\0Nobody"
    ape = lambda flags: b"APETAGEX" + struct.pack("<IIII", 2000, len(item) + 32, 1, flags) + bytes(8)
    data += ape(0xA0000000) + item + ape(0x80000000)


def xing(data, vbri):
    start = id3_end(data)
    at = data.index(b"Xing", start)
    flags, frames, size = struct.unpack_from(">III", data, at + 4)
    if vbri:  # the header another encoder writes in the same place
        data[at:at + 18] = b"VBRI" + struct.pack(">HHHII", 1, 0, 0, size, frames)
        return
    # No frame count: what followed it moves up, within the frame.
    struct.pack_into(">I", data, at + 4, flags & ~1)
    b = data[start + 2]  # the frame's bit rate, sample rate and padding
    kbits = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320][b >> 4]
    end = start + 144000 * kbits // [44100, 48000, 32000][(b >> 2) & 3] + ((b >> 1) & 1)
    data[at + 8:end] = data[at + 12:end] + bytes(4)


def noise(size, seed):
    rng = random.Random(seed)
    return b"*" + bytes(rng.getrandbits(8) for _ in range(size - 1))  # '*': no known signature


WAV, XING = "wav_44100_s16_stereo.wav", "mp3_vbr_xing.mp3"
for source, name, edit, *arguments in [
        (WAV, "wav_odd_chunk_before_data.wav", odd_chunk),
        (WAV, "wav_data_size_ffffffff.wav", data_size, 0xFFFFFFFF),
        (WAV, "wav_data_size_zero.wav", data_size, 0),
        (WAV, "wav_data_size_absurd.wav", data_size, 0x7FFFFFF0),
        (WAV, "wav_cut_mid_frame.wav", cut, 0.6, 1),
        ("wav_rf64.wav", "wav_rf64_cut.wav", cut, 0.7),
        (XING, "mp3_id3v24_footer.mp3", insert, 0, id3_tag(4, "Footer tag", 300, footer=True)),
        (XING, "mp3_two_id3v2_tags.mp3", insert, 0,
         id3_tag(3, "First tag", 100) + id3_tag(4, "Second tag", 50)),
        ("mp3_cbr_info.mp3", "mp3_ape_tag_trailer.mp3", ape_tail),
        (XING, "mp3_xing_without_frame_count.mp3", xing, False),
        (XING, "mp3_vbri_header.mp3", xing, True),
        (XING, "mp3_xing_cut_short.mp3", cut, 0.55),
        ("vorbis_44100_stereo.ogg", "vorbis_cut_short.ogg", cut, 0.5)]:
    data = bytearray(open(source, "rb").read())
    edit(data, *arguments)
    open(name, "wb").write(data)
# Junk between the tag and the first frame.
data = bytearray(open("mp3_vbr_no_header.mp3", "rb").read())
insert(data, id3_end(data), bytes((i * 7 + 1) % 200 for i in range(777)))
open("mp3_junk_before_first_frame.mp3", "wb").write(data)

# Broken on purpose; the sparse multi-gigabyte ones cost no disk.
fmt = struct.pack("<HHIIHH", 1, 2, 44100, 176400, 4, 16)
BROKEN = {
    "broken_empty.wav": b"",
    "broken_truncated_header.wav": open("wav_44100_s16_stereo.wav", "rb").read(30),
    "broken_truncated_mp3.mp3": open("mp3_cbr_info.mp3", "rb").read(200),
    "broken_truncated_ogg.ogg": open("vorbis_44100_stereo.ogg", "rb").read(60),
    "broken_truncated_wma.wma": open("wma2_44100_stereo.wma", "rb").read(100),
    "broken_random.mp3": noise(65536, 1),
    "broken_random.wav": noise(300000, 2),
    "broken_text_renamed.mp3": b"This is a letter, not a song.\nRegards\n",
    "broken_id3_without_audio.mp3": id3_tag(3, "No audio here", padding=2048),
    "broken_id3_size_beyond_file.mp3": b"ID3\x03\x00\x00\x7f\x7f\x7f\x7f" + bytes(4000),
    "broken_wav_without_samples.wav": b"RIFF" + struct.pack("<I", 36) + b"WAVEfmt " +
                                      struct.pack("<I", 16) + fmt + b"data" + bytes(4),
    "broken_sparse_4g_random.mp3": noise(1 << 20, 3),
    "broken_sparse_3g_zeros.wav": b"",
}
for name, data in BROKEN.items():
    open(name, "wb").write(data)
os.truncate("broken_sparse_4g_random.mp3", 4 << 30)
os.truncate("broken_sparse_3g_zeros.wav", 3 << 30)



def output(*command):
    """What the command prints, or nothing when it fails or takes too long."""
    try:
        return subprocess.run(command, capture_output=True, timeout=10).stdout
    except subprocess.TimeoutExpired:
        return b""


# What ffmpeg decodes of each file: mono 16-bit at the file's own rate.
names = sorted(os.listdir(".")) + ["broken_missing_file.wav"]
with open("manifest.tsv", "w", encoding="utf-8") as manifest:
    for name in names:
        rate = output("ffprobe", "-v", "error", "-select_streams", "a:0", "-show_entries",
                      "stream=sample_rate", "-of", "csv=p=0", name).split()
        rate = int(rate[0]) if rate and rate[0].isdigit() else 0
        frames = len(output("ffmpeg", "-nostdin", "-v", "quiet", "-i", name, "-map", "0:a:0",
                            "-ac", "1", "-f", "s16le", "-")) // 2 if rate else 0
        manifest.write(f"{name}\t{frames}\t{rate}\t{frames // rate if rate else 0}\n")
open(".stamp", "w").write(stamp)
