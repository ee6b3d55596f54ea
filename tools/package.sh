#!/usr/bin/env bash
# Installs what is missing, builds, and prints where the two packages of the
# 32-bit program are: Quillotune-<version>-setup.exe (the installer) and
# Quillotune-<version>-portable.zip. The build makes them every time.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
# shellcheck source=host-arch.sh
. "$here/host-arch.sh"

"$here/setup.sh"
QUILLOTUNE_BUILD="$build" "$here/build.sh"

# Where this host runs no 32-bit code, the shipped build is the side one.
shipped="$build"
[ "$QUILLOTUNE_ARCH" = i686 ] || shipped="$build/i686"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$shipped/CMakeCache.txt")"
for package in "Quillotune-$version-setup.exe" "Quillotune-$version-portable.zip"; do
    [ -f "$shipped/packages/$package" ] || { echo "package: $package was not made" >&2; exit 1; }
    echo "$shipped/packages/$package"
done
