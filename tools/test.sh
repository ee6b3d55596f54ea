#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (ctest: the engine's
# core natively, then everything through Wine in a virtual display). Exits
# non-zero when a test fails.
set -uo pipefail
# shellcheck source=ready.sh
. "$(dirname "${BASH_SOURCE[0]}")/ready.sh"

cd "$build" || exit 1
# The engine's core natively first (plain, then its threads under
# ThreadSanitizer), then everything under Wine, whose summary ends the run;
# any of them failing fails the whole.
failed=0
ctest --test-dir native --output-on-failure --timeout 600 "$@" || failed=1
ctest --test-dir native-tsan --output-on-failure --timeout 600 "$@" || failed=1
ctest --output-on-failure --timeout 600 "$@" || failed=1
exit "$failed"
