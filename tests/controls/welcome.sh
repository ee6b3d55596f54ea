#!/usr/bin/env bash
# The built program under Wine as a user first meets it: the splash, exactly
# the picture's size and in front of the dialog, then gone after its moment;
# the update question once;
# and no splash at all when started with the Embedding or Automation switch.
set -u
build="$1"
run="$build/wine-run.sh"
bin="$build/bin"
cd "$bin" || exit 1

fail() { echo "FAIL: $*"; exit 1; }
probe() { "$run" "$bin/LookProbe.exe" "$@" | tr -d '\r'; }

program=""
stop_program() {
    [ -n "$program" ] || return 0
    "$run" "$bin/WindowProbe.exe" click Quillotune 1017 >/dev/null 2>&1
    for _ in $(seq 1 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    kill "$program" 2>/dev/null
    program=""
}
trap stop_program EXIT

"$run" "$bin/Quillotune.exe" >/dev/null 2>&1 &
program=$!
size="$(probe wait QuillotuneSplash 60)" || fail "no splash appeared"
[ "$size" = "415 74" ] || fail "the splash is '$size', not the picture's 415 by 74"
probe front QuillotuneSplash Quillotune 30
case $? in
    0) ;;
    2) echo "note: the splash was gone before the dialog was up" ;;
    *) fail "the dialog covers its splash" ;;
esac
question="$(probe question 30)" || fail "no update question"
case "$question" in
    "There may be an update on www.quillotune.example. "*) ;;
    *) fail "unexpected question: $question" ;;
esac
probe gone QuillotuneSplash 10 || fail "the splash stayed beyond its moment"
sleep 2
[ "$(probe questions)" = 0 ] || fail "the update question came again"
stop_program

for switch in /Embedding -automation; do
    "$run" "$bin/Quillotune.exe" "$switch" >/dev/null 2>&1 &
    program=$!
    "$run" "$bin/WindowProbe.exe" wait Quillotune 60 || fail "no dialog with $switch"
    probe absent QuillotuneSplash || fail "a splash showed with $switch"
    stop_program
done
echo "PASS: splash 415x74 then gone, one update question, none with the switches"
