#!/usr/bin/env bash
# Times the engine burning 74 minutes of MP3 and 74 minutes of 48 kHz Ogg
# Vorbis into images, against ffmpeg decoding (and resampling) the same
# files to raw PCM, in the same run. Usage: bench/burn/run.sh [build folder]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
media="$build/bench-media"
out="$build/bench-images"
tracks=20
seconds=222 # 20 x 222 s = 74 minutes

# shellcheck source=../../tools/display.sh
. "$root/tools/display.sh"
trap 'quillotune_cleanup_display; rm -rf "$out"' EXIT

make_set() { # kind rate codec...
    local kind="$1" rate="$2"
    shift 2
    mkdir -p "$media/$kind"
    for i in $(seq -w 1 $tracks); do
        local file="$media/$kind/track-$i.$kind"
        [ -f "$file" ] && continue
        # Pink noise and a tone, different in every track.
        ffmpeg -nostdin -v error -y \
            -f lavfi -i "anoisesrc=c=pink:a=0.2:r=$rate:d=$seconds:seed=$((10#$i))" \
            -f lavfi -i "sine=f=$((200 + 10#$i * 30)):r=$rate:d=$seconds" \
            -filter_complex "[0][1]amix=inputs=2,aformat=channel_layouts=stereo" "$@" "$file"
    done
}
echo "Making the files once (in $media)..."
make_set mp3 44100 -c:a libmp3lame -b:a 192k
make_set ogg 48000 -c:a libvorbis -q:a 5

wine_path() { echo "Z:$1" | tr / '\\'; }

bench() { # kind
    local kind="$1" files=("$media/$1"/*."$1")
    local start end
    start=$(date +%s.%N)
    for file in "${files[@]}"; do
        ffmpeg -nostdin -v error -i "$file" -ar 44100 -ac 2 -f s16le -y /dev/null
    done
    end=$(date +%s.%N)
    local ffmpeg_one
    ffmpeg_one=$(echo "$end - $start" | bc)
    start=$(date +%s.%N)
    printf '%s\n' "${files[@]}" | xargs -P 2 -I{} ffmpeg -nostdin -v error -i {} -ar 44100 -ac 2 -f s16le -y /dev/null
    end=$(date +%s.%N)
    local ffmpeg_two
    ffmpeg_two=$(echo "$end - $start" | bc)

    rm -rf "$out" && mkdir -p "$out"
    local list="$out/list.txt"
    for file in "${files[@]}"; do wine_path "$file"; done >"$list"
    local result engine_seconds
    result=$(cd "$build/bin" && wine burn_bench.exe "$(wine_path "$out")" "@$(wine_path "$list")")
    engine_seconds=$(sed -n 's/.* in \([0-9.]*\) s .*/\1/p' <<<"$result")
    echo "== 74 minutes of $kind ($tracks tracks)"
    echo "$result"
    printf 'ffmpeg: %.2f s one file after another (%.0fx real time), %.2f s two at a time\n' \
        "$ffmpeg_one" "$(echo "4440 / $ffmpeg_one" | bc -l)" "$ffmpeg_two"
    printf 'engine / ffmpeg one at a time: %.2f; engine / ffmpeg two at a time: %.2f\n' \
        "$(echo "$engine_seconds / $ffmpeg_one" | bc -l)" "$(echo "$engine_seconds / $ffmpeg_two" | bc -l)"
    rm -rf "$out"
}

bench mp3
bench ogg
