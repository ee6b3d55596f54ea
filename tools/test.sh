#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (ctest, through Wine,
# in a virtual display). Exits non-zero when a test fails.
set -uo pipefail
# shellcheck source=ready.sh
. "$(dirname "${BASH_SOURCE[0]}")/ready.sh"

# The engine's readers of untrusted bytes, fuzzed natively for a short while
# each (bench/fuzz/run.sh runs them long). Skipped when ctest is asked for a
# part only.
fuzzed=0
if [ $# -eq 0 ]; then
    echo "Fuzzing each target for ${QUILLOTUNE_FUZZ_SECONDS:-15} s:"
    "$root/fuzz/run.sh" "${QUILLOTUNE_FUZZ_SECONDS:-15}" || fuzzed=1
fi

cd "$build" || exit 1
ctest --output-on-failure --timeout 600 "$@"
status=$?
if [ $fuzzed -ne 0 ]; then
    echo "Fuzzing found faults (see its table above)."
    status=1
fi
exit $status
