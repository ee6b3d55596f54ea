#!/usr/bin/env bash
# The built program under Wine as a user first meets it: the splash at the
# picture's size, in front of the dialog and gone after its moment, and the
# update question; no splash with the Embedding or Automation switch.
set -uo pipefail
build="$1"
bin="$build/bin"
cd "$bin" || exit 1

fail() { echo "FAIL: $*"; exit 1; }
probe() { "$build/wine-run.sh" "$bin/$1.exe" "${@:2}" | tr -d '\r'; }

program=""
start_program() {
    "$build/wine-run.sh" "$bin/Quillotune.exe" "$@" >/dev/null 2>&1 &
    program=$!
}
stop_program() {
    [ -n "$program" ] || return 0
    probe WindowProbe click Quillotune 1017 >/dev/null 2>&1
    for _ in $(seq 1 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    kill "$program" 2>/dev/null
    program=""
}
trap stop_program EXIT

start_program
size="$(probe LookProbe wait QuillotuneSplash 60)" || fail "no splash appeared"
[ "$size" = "415 74" ] || fail "the splash is '$size', not the picture's 415 by 74"
# 2: the splash was gone before the dialog was up, which is no fault.
probe LookProbe front QuillotuneSplash Quillotune 30
[ $? -ne 1 ] || fail "the dialog covers its splash"
probe LookProbe question 30 >/dev/null || fail "no update question"
probe LookProbe gone QuillotuneSplash 10 || fail "the splash stayed beyond its moment"
stop_program

for switch in /Embedding -automation; do
    start_program "$switch"
    probe WindowProbe wait Quillotune 60 || fail "no dialog with $switch"
    probe LookProbe gone QuillotuneSplash 0 || fail "a splash showed with $switch"
    stop_program
done
echo "PASS: splash 415x74 in front then gone, the update question, none with the switches"
