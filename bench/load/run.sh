#!/usr/bin/env bash
# The program under load, by hand: 2,000 files added at once (add_bench),
# then the dialog's answers while burns are started and stopped under a
# flood of engine events (events.sh, which the tests run too).
# Usage: bench/load/run.sh [build folder] [seconds of events, 30]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
# shellcheck source=../../tools/display.sh
. "$here/../../tools/display.sh"
trap quillotune_cleanup_display EXIT
(cd "$build/bin" && wine add_bench.exe "Z:${build//\//\\}\\load-files" | tr -d '\r')
"$here/events.sh" "$build" "${2:-30}"
