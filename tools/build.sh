#!/usr/bin/env bash
# Configures and builds everything into build/ (or $QUILLOTUNE_BUILD) for the
# Windows build that runs on this host (see host-arch.sh). Where that is the
# 64-bit one, the shipped 32-bit program and engine are built as well, into
# build/i686/bin, so the product is always built. The engine's window-free
# core is built natively too (build/native, and build/native-tsan under
# ThreadSanitizer).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
# shellcheck source=host-arch.sh
. "$here/host-arch.sh"

configure() { # folder arch [cmake options...]
    local folder="$1" arch="$2"
    shift 2
    if [ -f "$folder/CMakeCache.txt" ] &&
        ! grep -qx "QUILLOTUNE_ARCH:STRING=$arch" "$folder/CMakeCache.txt"; then
        echo "build: $folder was configured for another Windows build; configuring it afresh for $arch."
        rm -rf "$folder/CMakeCache.txt" "$folder/CMakeFiles" "$folder/build.ninja"
    fi
    if [ ! -f "$folder/build.ninja" ]; then
        cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DQUILLOTUNE_ARCH="$arch" "$@" >/dev/null
    fi
}
quiet_build() { # cmake --build arguments...: fails when the build fails
    local status=0
    cmake --build "$@" -j"${QUILLOTUNE_JOBS:-2}" | { grep -vE '^\[[0-9]+/[0-9]+\] ' || true; } ||
        status=$?
    return "$status"
}

native() { # folder [cmake options...]: the engine's core with this machine's compiler
    local folder="$1"
    shift
    if [ ! -f "$folder/build.ninja" ]; then
        cmake -S "$root/native" -B "$folder" -G Ninja "$@" >/dev/null
    fi
    quiet_build "$folder"
}

configure "$build" "$QUILLOTUNE_ARCH"
quiet_build "$build"
native "$build/native"
native "$build/native-tsan" -DQUILLOTUNE_SANITIZE=thread
if [ "$QUILLOTUNE_ARCH" != i686 ]; then
    configure "$build/i686" i686 -DBUILD_TESTING=OFF
    quiet_build "$build/i686" --target Quillotune DodIvadorO packages
fi
