#!/usr/bin/env bash
# Installs whatever this machine lacks to build and test Quillotune:
# the mingw-w64 cross compilers, Wine, a virtual X display, GStreamer's
# plugins (Wine decodes through them), PulseAudio for sound tests and the
# independent disc-image readers the tests compare against, NSIS for the
# installer, and clang with libFuzzer (and the audio libraries' native
# packages) for the native fuzz targets. Wine and
# its plugins are 32-bit where the host runs 32-bit code, else 64-bit (see
# host-arch.sh).
# Idempotent and quiet when everything is present.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

# shellcheck source=host-arch.sh
. "$here/host-arch.sh"

packages=(
  cmake make ninja-build pkg-config git ca-certificates dpkg-dev xz-utils patch bzip2
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  googletest
  clang-14 libclang-rt-14-dev libmpg123-dev libsndfile1-dev libflac-dev
  xvfb xauth x11-utils xdotool imagemagick
  fonts-dejavu-core fonts-liberation2 fonts-wine
  pulseaudio pulseaudio-utils
  ffmpeg sox bchunk cdrdao libcdio-utils cuetools shntool
  python3 python3-numpy
  nsis
)
if [ "$QUILLOTUNE_ARCH" = i686 ]; then
  packages+=(
    wine wine32:i386 libwine:i386
    gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
    gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
    libgstreamer1.0-0:i386 libgstreamer-plugins-base1.0-0:i386
    libpulse0:i386 libasound2-plugins:i386
  )
else
  packages+=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    binutils-mingw-w64-x86-64
    wine wine64 libwine
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    gstreamer1.0-plugins-ugly gstreamer1.0-libav
    libgstreamer1.0-0 libgstreamer-plugins-base1.0-0
    libpulse0 libasound2-plugins
  )
fi

missing=()
installed="$(dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Status}\n' 2>/dev/null || true)"
native="$(dpkg --print-architecture)"
for p in "${packages[@]}"; do
  name="${p%%:*}"
  arch="${p#*:}"; [ "$arch" = "$p" ] && arch=""
  if [ -n "$arch" ]; then
    grep -qxF "${name}:${arch} installed" <<<"$installed" || missing+=("$p")
  else
    grep -qxF -e "${name}:${native} installed" -e "${name}:all installed" <<<"$installed" ||
      missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${#missing[@]} missing package(s): ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [ "$QUILLOTUNE_ARCH" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The audio libraries (resampler and decoders) are cross-built from Debian's
# own source packages, with Debian's patches.
"$here/fetch-sources.sh"
