#!/usr/bin/env bash
# Makes the three sources of the fault tests' compilation into $1, with
# ffmpeg, once per build: each track is long enough that the image is
# written several times while it is the one being written.
set -euo pipefail
out="$1"
stamp="$out/.made-v3"
[ -f "$stamp" ] && exit 0
rm -rf "$out"
mkdir -p "$out"
ff() { ffmpeg -nostdin -v error -y -f lavfi -i "aevalsrc=0.4*sin(2*PI*$1*t)+0.05*(random(0)-0.5)|0.3*sin(2*PI*$2*t):s=44100:d=12" "${@:3}"; }
ff 440 660 -c:a pcm_s16le "$out/one.wav"
ff 550 330 -c:a libmp3lame -b:a 160k "$out/two.mp3"
ff 770 220 -c:a libvorbis -q:a 4 "$out/three.ogg"
# A long MP3, then a long WAV that decodes far faster: the WAV, decoded
# ahead, outgrows its share of memory while the MP3 is written.
long() { ffmpeg -nostdin -v error -y -f lavfi -i "aevalsrc=0.3*sin(2*PI*$1*t)+0.05*(random(0)-0.5)|0.3*sin(2*PI*$2*t):s=44100:d=$3" "${@:4}"; }
long 330 495 100 -c:a libmp3lame -b:a 128k "$out/long.mp3"
long 600 400 70 -c:a pcm_s16le "$out/long.wav"
ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=500:duration=1" -ac 2 -c:a pcm_s16le "$out/next.wav"
# 30 s of varying bit rate without a Xing header: near silence, then noise.
# Only its frames tell its length; a decoder guesses it from the first ones.
ffmpeg -nostdin -v error -y -f lavfi \
    -i "aevalsrc=if(lt(t\,10)\,0.0001*sin(2*PI*440*t)\,0.5*(random(0)-0.5)):s=44100:d=30" \
    -ac 2 -c:a libmp3lame -q:a 0 -write_xing 0 "$out/vbr.mp3"
touch "$stamp"
