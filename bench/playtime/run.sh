#!/usr/bin/env bash
# Makes the files (once) and runs the benchmark under Wine in the build's
# prefix. Usage: bench/playtime/run.sh [build folder]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
files="$build/bench-playtime-files"
"$here/make-files.sh" "$files"
# shellcheck source=../../tools/display.sh
. "$here/../../tools/display.sh"
trap quillotune_cleanup_display EXIT
cd "$build/bin"
wine playtime_bench.exe "Z:${files//\//\\}"
