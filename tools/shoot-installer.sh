#!/usr/bin/env bash
# Screenshots of the installer's and the uninstaller's pages as a user clicks
# through them, inside Wine's virtual desktop, in a copy of the build's Wine
# prefix (the build's own stays untouched): welcome, folder, installed,
# finish, the program it starts, then the uninstaller's two pages.
#   tools/shoot-installer.sh [folder]      (default build/shots)
# It runs the installer this host can run: the 32-bit one, or where the host
# runs no 32-bit code, the same installer made from the 64-bit build.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
out="$(realpath -m "${1:-$build/shots}")"
mkdir -p "$out"
QUILLOTUNE_BUILD="$build" "$here/build.sh" || exit 1

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
setup="$(ls "$build"/packages/Quillotune-"$version"*-setup.exe)" || exit 1

unset DISPLAY
# shellcheck source=display.sh
. "$here/display.sh"
work="$build/installer-shots"
rm -rf "$work"
mkdir -p "$work"
cp -a "$WINEPREFIX" "$work/prefix" || exit 1
export WINEPREFIX="$work/prefix"
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
trap 'quillotune_cleanup_display; rm -rf "$work"' EXIT
# Every program of this prefix, the probe included, shares one virtual
# desktop, so windows have frames and the probe sees them.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1

probe() { wine "$build/bin/WindowProbe.exe" "$@" 2>/dev/null | tr -d '\r'; }
shot() { sleep 1 && import -window root -crop 800x600+0+0 +repage "$out/installer-$1.png"; }
# Past the first page, the pages' captions add a space to the window's title.
on_page() { probe "$1" "$2 " "${@:3}" || probe "$1" "$2" "${@:3}"; }
next() { on_page click "$1" 1 || { echo "could not press the button on $1"; exit 1; }; }
finished() { # title: the button below the log is enabled again once the work is done
    for _ in $(seq 1 100); do [ "$(on_page enabled "$1" 1)" = 1 ] && return 0; sleep 0.2; done
}
setup_title="Quillotune $version Setup"
uninstall_title="Quillotune $version Uninstall"

wine "$setup" >/dev/null 2>&1 &
probe wait "$setup_title" 60 >/dev/null || { echo "no installer window"; exit 1; }
shot 1-welcome
next "$setup_title"
shot 2-folder
next "$setup_title"
finished "$setup_title"
shot 3-installed
next "$setup_title"
shot 4-finish
next "$setup_title" # "Start Quillotune now" is ticked
probe wait Quillotune 60 >/dev/null || { echo "the finish page did not start Quillotune"; exit 1; }
case "$(probe box Message 30)" in
*"check it now?") probe answer Message 7 ;; # No
*) probe answer Message 6 ;;                # Yes: continue without checking
esac
shot 5-started
probe click Quillotune 1017 # Exit
probe gone Quillotune 30 >/dev/null

wine 'C:\Program Files\Quillotune\Uninstall.exe' >/dev/null 2>&1 &
on_page wait "$uninstall_title" 60 >/dev/null || { echo "no uninstaller window"; exit 1; }
shot 6-uninstall
next "$uninstall_title"
finished "$uninstall_title"
shot 7-uninstalled
next "$uninstall_title"
wineserver -w
echo "$out/installer-*.png"
