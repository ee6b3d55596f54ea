#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillotune under Wine (in a
# virtual display when there is no DISPLAY).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"

"$here/setup.sh" || exit 1
QUILLOTUNE_BUILD="$build" "$here/build.sh" || exit 1

# shellcheck source=display.sh
. "$here/display.sh"
trap quillotune_cleanup_display EXIT

cd "$build/bin" || exit 1
wine Quillotune.exe "$@"
