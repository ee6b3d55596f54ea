#!/usr/bin/env bash
# Adds every audio file of a folder through the real Open dialog, the way a
# user would (mouse and keyboard through xdotool), and takes a screenshot of
# the dialog inside Wine's virtual desktop.
#   tools/shoot-compilation.sh MEDIA_FOLDER OUT.png [--scripted]
# --scripted runs the dialog with a scripted engine whose play times come
# from ffprobe, for when the real engine cannot measure files yet.
# Positions are those of the dialog at the desktop's top left corner.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
media="$(cd "$1" && pwd)"
out="$(realpath -m "$2")"
scripted="${3:-}"

winpath() { echo "Z:${1//\//\\}"; }
files=()
while IFS= read -r f; do files+=("$f"); done < <(cd "$media" && ls | grep -iE '\.(wav|mp3|ogg|wma)$')
[ ${#files[@]} -gt 0 ] || { echo "no audio files in $media"; exit 1; }

program=(Quillotune.exe)
if [ "$scripted" = --scripted ]; then
    program=(compilation_preview.exe)
    for f in "${files[@]}"; do
        seconds="$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$media/$f")"
        program+=("$(winpath "$media/$f")=${seconds%.*}")
    done
fi

unset DISPLAY
# shellcheck source=display.sh
. "$here/display.sh"
trap quillotune_cleanup_display EXIT

cd "$build/bin"
wine explorer /desktop=shot,1024x768 "${program[@]}" >/dev/null 2>&1 &
sleep 8 # start-up and the splash
xdotool key Return # "Continue without checking?" for updates: yes
sleep 1

xdotool mousemove 531 126 click 1 # Add
sleep 3
xdotool mousemove 315 303 click 1 # the file name box
xdotool type --delay 20 "$(winpath "$media")"
xdotool key Return
sleep 2
names=""
for f in "${files[@]}"; do names+="\"$f\" "; done
xdotool type --delay 10 "$names"
xdotool key Return
sleep 5 # every file measured
import -window root -crop 1024x768+0+0 +repage "$out"
xdotool mousemove 528 399 click 1 # Exit
sleep 2
echo "$out"
