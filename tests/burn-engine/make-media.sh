#!/usr/bin/env bash
# Makes the audio files the burn tests use, with ffmpeg, into $1 (once per
# build: a stamp file says they are there).
set -euo pipefail
media="$1"
stamp="$media/.made-v9"
[ -f "$stamp" ] && exit 0
rm -rf "$media"
mkdir -p "$media"
cd "$media"
ff() { ffmpeg -nostdin -v error -y "$@"; }

# Different content on each side, noise included, so a swapped or shifted
# channel cannot pass for the right one. The noise is made at 22,050 Hz,
# so it stays below 11 kHz, where every good resampler is exact: the
# comparisons then show faults, not differences between filter designs.
stereo() { # rate seconds
    echo "aevalsrc=0.4*sin(2*PI*440*t)+0.1*(random(0)-0.5)|0.3*sin(2*PI*660*t+1)+0.1*(random(1)-0.5):s=22050:d=$2,aresample=$1:resampler=soxr:precision=28"
}

ff -f lavfi -i "$(stereo 44100 7.3)" -c:a pcm_s16le mixed-1.wav
ff -f lavfi -i "$(stereo 44100 5.5)" -c:a libmp3lame -b:a 192k mixed-2.mp3
ff -f lavfi -i "$(stereo 48000 6.2)" -c:a libvorbis -q:a 6 mixed-3.ogg
ff -f lavfi -i "$(stereo 44100 2)" -c:a pcm_s16le short.wav
ff -f lavfi -i "$(stereo 44100 0.5)" -c:a pcm_s16le blip.wav
ff -f lavfi -i "aevalsrc=0.5*sin(2*PI*523*t)+0.1*(random(0)-0.5):s=44100:d=3" -c:a pcm_s16le mono.wav
# Six channels, each its own tone, in the usual 5.1 order.
ff -f lavfi -i "aevalsrc=0.3*sin(2*PI*300*t)|0.3*sin(2*PI*400*t)|0.3*sin(2*PI*500*t)|0.3*sin(2*PI*60*t)|0.3*sin(2*PI*700*t)|0.3*sin(2*PI*800*t):s=48000:d=3:c=5.1" \
    -c:a pcm_s16le surround.wav
ff -f lavfi -i "$(stereo 96000 3)" -c:a pcm_s24le hires.wav
ff -f lavfi -i "$(stereo 44100 3)" -c:a wmav2 -b:a 128k stereo.wma
# A full-scale square: resampled, it overshoots and must be clipped, not wrapped.
ff -f lavfi -i "aevalsrc=sgn(sin(2*PI*1000*t))|sgn(sin(2*PI*750*t)):s=48000:d=3" -c:a pcm_s16le loud.wav
cp short.wav "Ünïcødé 日本.wav"

# One file in every codec the engine decodes, 3.5 s each; codecs.txt lists
# them in burning order for the burn test and verify-images.py.
mkdir -p codecs
codec() { # name rate encoder options...
    local name="$1" rate="$2"
    shift 2
    ff -f lavfi -i "$(stereo "$rate" 3.5)" "$@" "codecs/$name"
    echo "$name" >>codecs.txt
}
: >codecs.txt
codec pcm-s16.wav 44100 -c:a pcm_s16le
codec pcm-u8.wav 44100 -c:a pcm_u8
codec pcm-s24.wav 44100 -c:a pcm_s24le
codec pcm-s32.wav 44100 -c:a pcm_s32le
codec float32.wav 44100 -c:a pcm_f32le
codec float64.wav 44100 -c:a pcm_f64le
codec alaw.wav 44100 -c:a pcm_alaw
codec mulaw.wav 44100 -c:a pcm_mulaw
codec ima-adpcm.wav 44100 -c:a adpcm_ima_wav
codec ms-adpcm.wav 44100 -c:a adpcm_ms
codec rf64.wav 44100 -c:a pcm_s16le -rf64 always
codec wave64.w64 44100 -c:a pcm_s16le
codec aiff.aiff 44100 -c:a pcm_s16be
codec flac-16.flac 44100 -c:a flac -sample_fmt s16
codec flac-24-96k.flac 96000 -c:a flac -sample_fmt s32
codec flac-in-ogg.oga 44100 -c:a flac -sample_fmt s16 -f ogg
codec vorbis-44k.ogg 44100 -c:a libvorbis -q:a 5
codec opus.opus 48000 -c:a libopus -b:a 160k
codec mp2.mp2 44100 -c:a mp2 -b:a 256k
codec mp3-8k-mono.mp3 8000 -c:a libmp3lame -b:a 32k -ac 1
# Content, not the name: an MP3 named .wav.
codec mp3-named.wav 44100 -c:a libmp3lame -b:a 192k -f mp3
# Six channels, a tone each, in Vorbis's own channel order.
ff -f lavfi -i "aevalsrc=0.3*sin(2*PI*300*t)|0.3*sin(2*PI*400*t)|0.3*sin(2*PI*500*t)|0.3*sin(2*PI*60*t)|0.3*sin(2*PI*700*t)|0.3*sin(2*PI*800*t):s=48000:d=3:c=5.1" \
    -c:a libvorbis -q:a 8 codecs/surround.ogg
echo surround.ogg >>codecs.txt
# The two files the platform's decoder refused: 8-bit mono with a data
# chunk of odd length, and IMA ADPCM at 22,050 Hz.
ff -f lavfi -i "aevalsrc=0.5*sin(2*PI*523*t)+0.1*(random(0)-0.5):s=22050:d=6.5" -c:a pcm_u8 \
    codecs/odd-8bit-mono.wav
echo odd-8bit-mono.wav >>codecs.txt
ff -f lavfi -i "$(stereo 22050 6.5)" -c:a adpcm_ima_wav codecs/ima-22k.wav
echo ima-22k.wav >>codecs.txt

# Three MP3s cut from one 1 kHz tone at sector boundaries (5 s each), so
# the tracks follow each other with no padding between them.
for i in 0 1 2; do
    ff -f lavfi -i "sine=f=1000:r=44100:d=15" -af "volume=0.5,atrim=start_sample=$((i * 220500)):end_sample=$(((i + 1) * 220500))" \
        -ac 2 -c:a libmp3lame -b:a 192k "gapless-$i.mp3"
done

# Damaged copies of every codec file: cut at 60 %, bytes flipped in the
# headers and in the data, random bytes spliced into the middle.
mkdir -p damaged
python3 - codecs damaged <<'PY'
import os, random, sys
source, target = sys.argv[1:3]
random.seed(7)
for name in sorted(os.listdir(source)):
    data = open(os.path.join(source, name), "rb").read()
    stem, ext = os.path.splitext(name)
    def write(kind, content):
        open(os.path.join(target, f"{stem}-{kind}{ext}"), "wb").write(bytes(content))
    write("cut", data[:len(data) * 6 // 10])
    header = bytearray(data)
    for i in range(8, min(120, len(header)), 3):
        header[i] ^= 0x5A
    write("header", header)
    body = bytearray(data)
    for i in range(len(body) // 3, len(body) // 3 + 4000, 7):
        body[i] ^= 0xFF
    write("data", body)
    middle = len(data) // 2
    write("spliced", data[:middle] + os.urandom(20000) + data[middle:])
PY
# 27 minutes of quiet noise, small as a file; three of them do not fit a disc.
ff -f lavfi -i "anoisesrc=c=white:a=0.001:r=8000:d=1620" -ac 1 -c:a libvorbis -q:a 0 long.ogg
# Not audio, and nothing at all.
head -c 200000 /dev/urandom >broken.mp3
head -c 3000 stereo.wma >cut.wma # a cut header once kept the system's decoder from ever answering
: >empty.wav
touch "$stamp"
