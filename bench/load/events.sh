#!/usr/bin/env bash
# The program under a flood of engine events: a copy of Quillotune.exe beside
# the load engine (a DodIvadorO.dll that raises 1,000 events a second while
# it burns), one track added through the Open dialog, then LoadProbe starts
# and stops burns for <seconds> and lets the last one finish, timing the
# dialog's answers all the while. Prints the figures; fails on a dialog that
# stopped answering, a run that did not end or a dialog not idle after.
#   events.sh <build> [seconds]
set -uo pipefail
build="$1"
seconds="${2:-30}"
run="$build/wine-run.sh"
work="$build/load-events"
fail() { echo "FAIL: $*"; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }
probe() { "$run" "$build/bin/WindowProbe.exe" "$@" | tr -d '\r'; }

rm -rf "$work"
mkdir -p "$work" || exit 1
cp "$build/bin/Quillotune.exe" "$build/bin/LoadProbe.exe" "$work/" &&
    cp "$build/load-engine/DodIvadorO.dll" "$work/" || fail "the program or the load engine is not built"
: >"$work/track.wav" # the load engine gives every file a minute
export QUILLOTUNE_LOAD_RUN_MS=5000 QUILLOTUNE_LOAD_LOG
QUILLOTUNE_LOAD_LOG="$(winpath "$work/engine.log")"

cd "$work" || exit 1
"$run" "$work/Quillotune.exe" >/dev/null 2>&1 &
program=$!
trap 'kill $program 2>/dev/null' EXIT
probe wait Quillotune 60 || fail "no Quillotune window appeared"
question="$(probe box Message 30)" || fail "the update question did not come"
case "$question" in
*"check it now?") probe answer Message 7 ;;
*) probe answer Message 6 ;;
esac || fail "could not answer the update question"
probe click Quillotune 1011 || fail "could not press Add"
probe choose 60 "$(winpath "$work")" track.wav || fail "could not use the Open dialog"
probe rows Quillotune 1 30 || fail "the track did not become a row"

"$run" "$work/LoadProbe.exe" "$seconds" "$QUILLOTUNE_LOAD_RUN_MS" | tr -d '\r'
result="${PIPESTATUS[0]}"
probe click Quillotune 1017 || fail "could not press Exit"
probe gone Quillotune 30 || fail "the window did not close"
awk '{ events += $1; ms += $2; runs[$3]++ }
     END { printf "engine: %d runs (%d stopped), %d events in %.1f s of burning, %.0f a second\n",
                  NR, runs["stopped"], events, ms / 1000, ms ? events * 1000 / ms : 0 }' \
    "$work/engine.log" || fail "the load engine wrote no log"
[ "$result" = 0 ] || fail "the dialog did not hold up under load"
echo "PASS: the dialog answered throughout, every run ended and it is idle"
