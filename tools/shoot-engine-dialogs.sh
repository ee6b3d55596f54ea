#!/usr/bin/env bash
# Screenshots of the engine's own dialogs inside Wine's virtual desktop: the
# erase dialog opened from the program, and the burn dialog before, during
# and after a burn of a few generated tones, and cancelled during a long one.
#   tools/shoot-engine-dialogs.sh [folder]     (default build/shots)
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
out="$(realpath -m "${1:-$(dirname "${BASH_SOURCE[0]}")/../build/shots}")"
work="$build/engine-shots"
mkdir -p "$out"
QUILLOTUNE_BUILD="$build" "$here/build.sh" || exit 1

winpath() { echo "Z:${1//\//\\}"; }
rm -rf "$work"
mkdir -p "$work/media" "$work/images"
tone() { ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=$2:duration=$3" "${@:4}" "$work/media/$1"; }
tone "Morning Tone.wav" 440 95 -ac 2 -ar 44100
tone "Evening Tone.mp3" 660 140 -ac 1 -ar 48000
tone "Night Tone.ogg" 550 75 -ac 2 -ar 22050
tone "Long Tone.mp3" 330 1500 -ac 2 -ar 44100 -b:a 64k

unset DISPLAY
# shellcheck source=display.sh
. "$here/display.sh"
trap quillotune_cleanup_display EXIT
cd "$build/bin" || exit 1
# The probes must live on the virtual desktop to see its windows.
for p in WindowProbe LookProbe; do
    cp "$p.exe" "Shot$p.exe"
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\Shot$p.exe\\Explorer" /v Desktop \
        /t REG_SZ /d shot /f >/dev/null 2>&1
done
probe() { wine ShotWindowProbe.exe "$@" 2>/dev/null | tr -d '\r'; }
shot() { import -window root -crop 1024x768+0+0 +repage "$out/engine-$1.png"; }
wait_for_close() { # title
    for _ in $(seq 1 600); do
        [ "$(probe text "$1" 2)" = Close ] && return 0
        sleep 0.2
    done
    return 1
}

# The erase dialog, from the program.
wine explorer /desktop=shot,1024x768 Quillotune.exe >/dev/null 2>&1 &
probe wait Quillotune 60 >/dev/null || { echo "no Quillotune window"; exit 1; }
wine ShotLookProbe.exe question 30 >/dev/null 2>&1
probe click Quillotune 1015
probe wait Erase 30 >/dev/null || { echo "no erase dialog"; exit 1; }
sleep 1
shot erase
probe click Erase 2
probe click Quillotune 1017
wineserver -w

# The burn dialog: ready, under way, done.
title="Burn Audio Files to CD"
media="$(winpath "$work/media")"
wine explorer /desktop=shot,1024x768 EngineDriver.exe "$(winpath "$work/images")" \
    "$media\\Morning Tone.wav" "$media\\Evening Tone.mp3" "$media\\Night Tone.ogg" >/dev/null 2>&1 &
probe wait "$title" 60 >/dev/null || { echo "no burn dialog"; exit 1; }
sleep 2
shot burn-1-ready
probe click "$title" 3006
sleep 0.7
shot burn-2-running
wait_for_close "$title" || echo "the burn did not end"
shot burn-3-done
probe click "$title" 2
wineserver -w

# Cancelled during a long burn.
wine explorer /desktop=shot,1024x768 EngineDriver.exe "$(winpath "$work/images")" \
    "$media\\Long Tone.mp3" >/dev/null 2>&1 &
probe wait "$title" 60 >/dev/null || { echo "no burn dialog"; exit 1; }
probe click "$title" 3006
sleep 3
probe click "$title" 2
wait_for_close "$title" || echo "the cancel did not end"
shot burn-4-cancelled
probe click "$title" 2
wineserver -w
echo "$out/engine-*.png"
