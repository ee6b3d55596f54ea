#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillotune under Wine (in a
# virtual display when there is no DISPLAY).
set -uo pipefail
# shellcheck source=ready.sh
. "$(dirname "${BASH_SOURCE[0]}")/ready.sh"

cd "$build/bin" || exit 1
wine Quillotune.exe "$@"
