#!/usr/bin/env bash
# Screenshots of Quillotune under Wine, inside Wine's virtual desktop so that
# windows have frames: the splash at start-up, the update question, then the
# dialog with its icon buttons and link; once with visual styles (Wine's
# "light" theme) and once without.
#   tools/screenshot.sh [folder]      (default build/shots)
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
out="${1:-$build/shots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

QUILLOTUNE_BUILD="$build" "$here/build.sh" || exit 1

shoot() { # look
    local look="$1" bin="$build/bin"
    shot() { import -window root -crop 1024x768+0+0 +repage "$out/$look-$1.png"; }
    export QUILLOTUNE_LOOK="$look"
    # shellcheck source=display.sh
    . "$here/display.sh"
    trap quillotune_cleanup_display RETURN
    cd "$bin" || return 1
    # The probe must live on the virtual desktop to see the program's windows:
    # a copy under its own name is sent there by the prefix's settings.
    cp LookProbe.exe ShotProbe.exe
    wine reg add 'HKCU\Software\Wine\AppDefaults\ShotProbe.exe\Explorer' /v Desktop \
        /t REG_SZ /d shot /f >/dev/null 2>&1
    probe() { wine "$bin/ShotProbe.exe" "$@" 2>/dev/null | tr -d '\r'; }

    wine explorer /desktop=shot,1024x768 Quillotune.exe >/dev/null 2>&1 &
    probe wait QuillotuneSplash 60 >/dev/null || { echo "$look: no splash"; return 1; }
    shot 1-splash
    probe question 30 keep >/dev/null || { echo "$look: no update question"; return 1; }
    shot 2-question
    probe question 5 >/dev/null
    probe gone QuillotuneSplash 10 || echo "$look: the splash did not close"
    sleep 1
    shot 3-dialog
    # The dialog alone, at its place in the top-left corner of the desktop.
    convert "$out/$look-3-dialog.png" -crop 597x558+0+0 +repage "$out/$look-4-dialog-only.png"
    cp WindowProbe.exe ShotWindowProbe.exe
    wine reg add 'HKCU\Software\Wine\AppDefaults\ShotWindowProbe.exe\Explorer' /v Desktop \
        /t REG_SZ /d shot /f >/dev/null 2>&1
    wine "$bin/ShotWindowProbe.exe" click Quillotune 1017 >/dev/null 2>&1
    wineserver -w
    echo "$look: $out/$look-*.png"
}

for look in themed classic; do
    (shoot "$look") || exit 1
done
