#!/usr/bin/env bash
# The built program under Wine with the real engine, driven from outside.
#   session.sh <build> startup: its main dialog, titled "Quillotune", of outer
#     height 558; "&Exit" ends it.
#   session.sh <build> burn: a user's burn to the Image Recorder: three files
#     added through the Open dialog, "&Burn Now!", the phase in the title and
#     the figures moving, "Burn Done.", an idle dialog again and an image that
#     bchunk splits into three tracks. Then a longer compilation stopped
#     midway: back to idle, and no image left behind.
set -uo pipefail
build="$1"
mode="$2"
run="$build/wine-run.sh"
bin="$build/bin"
work="$build/e2e-burn"

fail() { echo "FAIL: $*"; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }
probe() { "$run" "$bin/WindowProbe.exe" "$@" | tr -d '\r'; }

export QUILLOTUNE_IMAGE_DIR
QUILLOTUNE_IMAGE_DIR="$(winpath "$work/images")"
cd "$bin" || exit 1
"$run" "$bin/Quillotune.exe" >/dev/null 2>&1 &
program=$!
trap 'kill $program 2>/dev/null' EXIT

probe wait Quillotune 60 || fail "no Quillotune window appeared"
if [ "$mode" = startup ]; then
    height="$(probe height Quillotune)"
    [ "$height" = 558 ] || fail "outer height is '$height', not 558"
    probe click Quillotune 1017 || fail "could not press Exit"
    probe gone Quillotune 30 || fail "the window did not close"
    for _ in $(seq 1 100); do kill -0 $program 2>/dev/null && sleep 0.2; done
    kill -0 $program 2>/dev/null && fail "the program did not end after Exit"
    echo "PASS: window titled Quillotune, outer height $height, ended by Exit" && exit 0
fi
rm -rf "$work"
mkdir -p "$work/media" "$work/images" "$work/tracks" || exit 1
tone() { # name, seconds, frequency, extra ffmpeg output options
    ffmpeg -v error -f lavfi -i "sine=frequency=$3:duration=$2" "${@:4}" "$work/media/$1" ||
        fail "ffmpeg could not make $1"
}
# Different rates and channel counts, so the engine resamples and mixes.
tone a.wav 5 440 -ac 2 -ar 44100
tone b.mp3 6 660 -ac 1 -ar 48000
tone c.ogg 5 550 -ac 2 -ar 22050
# Long enough that "&Stop" lands while the engine is still writing.
tone long.mp3 900 330 -ac 2 -ar 44100 -b:a 64k

# The start-up question, answered so that no browser is asked for.
question="$(probe box Message 30)" || fail "the update question did not come"
case "$question" in
*"check it now?") probe answer Message 7 ;;   # No
*) probe answer Message 6 ;;                  # Yes, continue without checking
esac || fail "could not answer the update question"
probe click Quillotune 1011 || fail "could not press Add"
probe choose 60 "$(winpath "$work/media")" a.wav b.mp3 c.ogg || fail "could not use the Open dialog"
probe rows Quillotune 3 60 || fail "the three files did not become rows"

# The burn, watched until its message box.
probe click Quillotune 1016 || fail "could not press Burn Now!"
looks="$(probe follow Quillotune 300)" || fail "no end of the burn was shown: $looks"
echo "$looks"
[ "$(tail -n 1 <<<"$looks")" = "box: Burn Done." ] || fail "the burn did not end with Burn Done."
grep -q '^Quillotune | 0 | 0 | &Stop$' <<<"$looks" || fail "the pending start did not show"
grep -qE '^Quillotune \((Start Burning|Finalize)\.\.\.\) \| [0-9]+ \| [1-9][0-9]* \| &Stop$' <<<"$looks" ||
    fail "the burn phase and the bytes written were not shown during the run"
probe answer Message || fail "could not close the box"
sleep 1
[ "$(probe text Quillotune 0)|$(probe text Quillotune 1016)|$(probe enabled Quillotune 1011)" = \
    "Quillotune|&Burn Now!|1" ] || fail "the dialog did not return to idle"

cue="$(ls "$work"/images/*.cue)" && [ "$(ls "$work/images" | wc -l)" = 2 ] ||
    fail "expected one image, found: $(ls "$work/images")"
bin_file="$(grep -m1 '^FILE' "$cue" | sed -E 's/^FILE "?([^"]*)"? .*/\1/')"
(cd "$work/tracks" && bchunk -w "$work/images/$bin_file" "$cue" track >/dev/null) ||
    fail "bchunk could not read the image"
[ "$(ls "$work/tracks" | grep -c '\.wav$')" -eq 3 ] || fail "bchunk did not find 3 tracks"

# A long run stopped midway.
rm -f "$work"/images/*
probe click Quillotune 1011 || fail "could not press Add again"
probe choose 60 "$(winpath "$work/media")" long.mp3 || fail "could not add the long file"
probe rows Quillotune 4 60 || fail "the long file did not become a row"
probe click Quillotune 1016 || fail "could not press Burn Now! again"
stopped="$(probe follow Quillotune 300 20000000)" || fail "the stopped run did not return to idle: $stopped"
echo "$stopped"
grep -q '^pressing the burn button$' <<<"$stopped" || fail "the run ended before Stop: $stopped"
[ "$(tail -n 1 <<<"$stopped")" = idle ] || fail "the stopped run ended with: $(tail -n 1 <<<"$stopped")"
sleep 2
if box="$(probe box Message 1)"; then
    probe answer Message
    echo "after Stop the engine still said: $box"
fi
[ "$(probe enabled Quillotune 1011)" = 1 ] || fail "Add stayed disabled after Stop"
[ -z "$(ls -A "$work/images")" ] || fail "the stopped run left files behind: $(ls -A "$work/images")"

probe click Quillotune 1017 || fail "could not press Exit"
probe gone Quillotune 30 || fail "the window did not close"
echo "PASS: burned three tracks to an image bchunk reads; a stopped run left no image"
