#!/usr/bin/env bash
# Makes the benchmark's 200 mixed audio files with ffmpeg in the folder given:
# WAV, MP3 (CBR and VBR, with and without Xing headers), Ogg Vorbis, Opus and
# WMA, 3 to 40 seconds long. Does nothing when they are already there.
set -euo pipefail
out="$1"
mkdir -p "$out"
[ "$(ls "$out" | wc -l)" -ge 200 ] && exit 0
cd "$out"

make_one() { # index
    local i="$1" seconds rate channels
    seconds=$((3 + (i * 37) % 38)).$((i % 10))
    rate=$(( (i % 3 == 0) ? 48000 : (i % 3 == 1) ? 44100 : 22050 ))
    channels=$((1 + i % 2))
    local in=(-f lavfi -i "sine=frequency=$((220 + i * 7)):duration=$seconds:sample_rate=$rate" -ac "$channels")
    local ff=(ffmpeg -nostdin -v error -y)
    case $((i % 8)) in
        0) "${ff[@]}" "${in[@]}" -c:a pcm_s16le "$(printf 'f%03d.wav' "$i")" ;;
        1) "${ff[@]}" "${in[@]}" -c:a libmp3lame -b:a 128k "$(printf 'f%03d.mp3' "$i")" ;;
        2) "${ff[@]}" "${in[@]}" -c:a libmp3lame -q:a 3 "$(printf 'f%03d.mp3' "$i")" ;;
        3) "${ff[@]}" "${in[@]}" -c:a libmp3lame -q:a 5 -write_xing 0 "$(printf 'f%03d.mp3' "$i")" ;;
        4) "${ff[@]}" "${in[@]}" -c:a libvorbis "$(printf 'f%03d.ogg' "$i")" ;;
        5) "${ff[@]}" "${in[@]}" -ar 48000 -c:a libopus "$(printf 'f%03d.opus' "$i")" ;;
        6) "${ff[@]}" "${in[@]}" -c:a wmav2 "$(printf 'f%03d.wma' "$i")" ;;
        7) "${ff[@]}" "${in[@]}" -c:a pcm_f32le "$(printf 'f%03d.wav' "$i")" ;;
    esac
}
export -f make_one
seq 0 199 | xargs -P 2 -I{} bash -c 'make_one {}'
