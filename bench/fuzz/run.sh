#!/usr/bin/env bash
# Long fuzzing runs: every target (or those named) for SECONDS each (default
# 600), one after the other, niced, growing the corpus in build/fuzz/corpus
# that later runs (and the short ones of the tests) start from. Prints
# executions, coverage and time per target; exits non-zero on any finding.
# QUILLOTUNE_FUZZ_RUNS=N stops a target after N executions instead.
#     bench/fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
seconds="${1:-600}"
shift || true
exec "$here/../../fuzz/run.sh" "$seconds" "$@"
