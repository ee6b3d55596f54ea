#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (ctest, through Wine,
# in a virtual display). Exits non-zero when a test fails.
set -uo pipefail
# shellcheck source=ready.sh
. "$(dirname "${BASH_SOURCE[0]}")/ready.sh"

cd "$build" || exit 1
ctest --output-on-failure --timeout 600 "$@"
