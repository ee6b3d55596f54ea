#!/usr/bin/env bash
# Makes the audio files the burn tests use, with ffmpeg, into $1 (once per
# build: a stamp file says they are there).
set -euo pipefail
media="$1"
stamp="$media/.made-v7"
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
# 27 minutes of quiet noise, small as a file; three of them do not fit a disc.
ff -f lavfi -i "anoisesrc=c=white:a=0.001:r=8000:d=1620" -ac 1 -c:a libvorbis -q:a 0 long.ogg
# Not audio, and nothing at all.
head -c 200000 /dev/urandom >broken.mp3
head -c 3000 stereo.wma >cut.wma # a cut header once kept the system's decoder from ever answering
: >empty.wav
touch "$stamp"
