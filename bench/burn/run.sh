#!/usr/bin/env bash
# Times the engine burning 74 minutes of MP3 (15 files, 192 kbit/s), of
# 48 kHz Ogg Vorbis and of FLAC into images, and 99 short MP3 tracks,
# against ffmpeg decoding and resampling the same files to raw PCM one after
# another, in the same run; prints the engine's peak working set for each.
# Usage: bench/burn/run.sh [build folder] [set...]   (sets: mp3 ogg flac many)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
shift || true
if [ $# -gt 0 ]; then sets=("$@"); else sets=(mp3 ogg flac many); fi
media="$build/bench-media"
out="$build/bench-images"

# shellcheck source=../../tools/display.sh
. "$root/tools/display.sh"
trap 'quillotune_cleanup_display; rm -rf "$out"' EXIT

make_set() { # folder count seconds rate extension codec...
    local folder="$1" count="$2" seconds="$3" rate="$4" ext="$5"
    shift 5
    mkdir -p "$media/$folder"
    for i in $(seq -w 1 "$count"); do
        local file="$media/$folder/track-$i.$ext" partial="$media/$folder/.track-$i.$ext"
        [ -f "$file" ] && continue
        # Pink noise and a tone, different in every track.
        ffmpeg -nostdin -v error -y \
            -f lavfi -i "anoisesrc=c=pink:a=0.2:r=$rate:d=$seconds:seed=$((10#$i))" \
            -f lavfi -i "sine=f=$((200 + 10#$i * 30)):r=$rate:d=$seconds" \
            -filter_complex "[0][1]amix=inputs=2,aformat=channel_layouts=stereo" "$@" "$partial"
        mv "$partial" "$file"
    done
}

wine_path() { echo "Z:$1" | tr / '\\'; }

bench() { # folder title
    local folder="$1" title="$2" files=("$media/$1"/*)
    local start end ffmpeg_seconds
    start=$(date +%s.%N)
    for file in "${files[@]}"; do
        ffmpeg -nostdin -v error -i "$file" -ar 44100 -ac 2 -f s16le -y /dev/null
    done
    end=$(date +%s.%N)
    ffmpeg_seconds=$(echo "$end - $start" | bc)

    rm -rf "$out" && mkdir -p "$out"
    local list="$out/list.txt"
    for file in "${files[@]}"; do wine_path "$file"; done >"$list"
    local result engine_seconds
    result=$(cd "$build/bin" && wine burn_bench.exe "$(wine_path "$out")" "@$(wine_path "$list")")
    engine_seconds=$(sed -n 's/.* in \([0-9.]*\) s .*/\1/p' <<<"$result")
    echo "== $title (${#files[@]} tracks)"
    echo "$result"
    printf 'ffmpeg, one file after another: %.2f s (%.0fx real time)\n' \
        "$ffmpeg_seconds" "$(echo "4440 / $ffmpeg_seconds" | bc -l)"
    printf 'engine / ffmpeg: %.2f\n' "$(echo "$engine_seconds / $ffmpeg_seconds" | bc -l)"
    rm -rf "$out"
}

echo "Making the files once (in $media)..."
for set in "${sets[@]}"; do
    case "$set" in
    mp3) make_set mp3 15 296 44100 mp3 -c:a libmp3lame -b:a 192k ;;
    ogg) make_set ogg 15 296 48000 ogg -c:a libvorbis -q:a 5 ;;
    flac) make_set flac 15 296 44100 flac -c:a flac ;;
    many) make_set many 99 44 44100 mp3 -c:a libmp3lame -b:a 192k ;;
    esac
done
for set in "${sets[@]}"; do
    case "$set" in
    mp3) bench mp3 "74 minutes of MP3, 192 kbit/s" ;;
    ogg) bench ogg "74 minutes of Ogg Vorbis at 48 kHz" ;;
    flac) bench flac "74 minutes of FLAC" ;;
    many) bench many "99 tracks of MP3, 72.6 minutes" ;;
    esac
done
