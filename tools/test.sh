#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (ctest, through Wine,
# in a virtual display). Exits non-zero when a test fails.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"

"$here/setup.sh" || exit 1
QUILLOTUNE_BUILD="$build" "$here/build.sh" || exit 1

# shellcheck source=display.sh
. "$here/display.sh"
trap quillotune_cleanup_display EXIT

cd "$build" || exit 1
ctest --output-on-failure --timeout 600 "$@"
