# Sourced: makes sure there is an X display and a booted Wine prefix for the
# build. Starts a virtual display when there is none, saying so.
# Expects $build; sets DISPLAY, WINEPREFIX and friends.
# QUILLOTUNE_LOOK=classic gives a prefix of its own without visual styles;
# the default prefix runs with Wine's "light" theme. Both looks stay testable.
export WINEPREFIX="$build/wineprefix"
if [ "${QUILLOTUNE_LOOK:-themed}" = classic ]; then export WINEPREFIX="$build/wineprefix-classic"; fi
# A 64-bit build (see host-arch.sh) runs under a 64-bit Wine: the build
# folder's wine-bin holds `wine` and `wineserver` commands that choose it.
if [ -d "$build/wine-bin" ]; then
    export PATH="$build/wine-bin:$PATH"
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
else
    export WINEARCH=win32
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"

quillotune_started_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            quillotune_started_xvfb=$!
            export DISPLAY=":$n"
            break
        fi
    done
    for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
        sleep 0.1
    done
    echo "No DISPLAY: using a virtual display $DISPLAY (Xvfb)."
fi

if [ ! -f "$WINEPREFIX/.quillotune-ready" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX (once)..."
    wineboot -i >/dev/null 2>&1 || true
    # Without a window manager, Wine would wait two seconds for one at every
    # window it hides; its windows are better left unmanaged here.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # Wine's own fonts (MS Sans Serif, Marlett for the caption buttons...) are
    # packaged apart and not found where this Wine looks; the prefix's font
    # folder is always searched.
    if [ -d /usr/share/wine/fonts ]; then
        cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
    if [ "${QUILLOTUNE_LOOK:-themed}" = classic ]; then
        wine reg add "$theme" /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1
    else
        wine reg add "$theme" /v DllName /t REG_SZ /f \
            /d 'C:\windows\resources\themes\light\light.msstyles' >/dev/null 2>&1
        wine reg add "$theme" /v ColorName /t REG_SZ /d Blue /f >/dev/null 2>&1
        wine reg add "$theme" /v SizeName /t REG_SZ /d NormalSize /f >/dev/null 2>&1
        wine reg add "$theme" /v ThemeActive /t REG_SZ /d 1 /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.quillotune-ready"
fi

quillotune_cleanup_display() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$quillotune_started_xvfb" ]; then kill "$quillotune_started_xvfb" 2>/dev/null || true; fi
}
