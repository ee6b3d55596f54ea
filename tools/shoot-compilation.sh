#!/usr/bin/env bash
# Adds every audio file of a folder through the real Open dialog, the way a
# user would (through the window probe of the end-to-end tests), and takes a
# screenshot of the dialog inside Wine's virtual desktop.
#   tools/shoot-compilation.sh MEDIA_FOLDER OUT.png
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
media="$(cd "$1" && pwd)"
out="$(realpath -m "$2")"

winpath() { echo "Z:${1//\//\\}"; }
files=()
while IFS= read -r f; do files+=("$f"); done < <(cd "$media" && ls | grep -iE '\.(wav|mp3|ogg|wma)$')
[ ${#files[@]} -gt 0 ] || { echo "no audio files in $media"; exit 1; }

unset DISPLAY
# shellcheck source=display.sh
. "$here/display.sh"
trap quillotune_cleanup_display EXIT

cd "$build/bin"
# Everything of this run, the probe included, shares one virtual desktop, so
# the window has its frame and the probe sees it.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
trap "wine reg delete 'HKCU\\Software\\Wine\\Explorer' /v Desktop /f >/dev/null 2>&1; quillotune_cleanup_display" EXIT
probe() { wine WindowProbe.exe "$@" | tr -d '\r'; }
wine Quillotune.exe >/dev/null 2>&1 &
probe wait Quillotune 60 >/dev/null
# The start-up question about updates, answered so that no browser opens.
case "$(probe box Message 30)" in
*"check it now?") probe answer Message 7 ;; # No
*) probe answer Message 6 ;;                # Yes: continue without checking
esac
probe click Quillotune 1011 # Add
probe choose 60 "$(winpath "$media")" "${files[@]}"
probe rows Quillotune "${#files[@]}" 120 >/dev/null
sleep 1
import -window root -crop 1024x768+0+0 +repage "$out"
probe click Quillotune 1017 # Exit
probe gone Quillotune 30 >/dev/null
echo "$out"
