#!/usr/bin/env bash
# The built program started under Wine with the real engine shows its main
# dialog, titled "Quillotune", of outer height 558; "&Exit" ends it.
set -u
build="$1"
run="$build/wine-run.sh"
bin="$build/bin"
cd "$bin" || exit 1

"$run" "$bin/Quillotune.exe" >/dev/null 2>&1 &
program=$!
trap 'kill $program 2>/dev/null' EXIT

fail() { echo "FAIL: $*"; exit 1; }

"$run" "$bin/WindowProbe.exe" wait Quillotune 60 || fail "no Quillotune window appeared"
height="$("$run" "$bin/WindowProbe.exe" height Quillotune | tr -d '\r')"
[ "$height" = 558 ] || fail "outer height is '$height', not 558"
"$run" "$bin/WindowProbe.exe" click Quillotune 1017 || fail "could not press Exit"
"$run" "$bin/WindowProbe.exe" gone Quillotune 30 || fail "the window did not close"
for _ in $(seq 1 100); do
    kill -0 $program 2>/dev/null || break
    sleep 0.2
done
kill -0 $program 2>/dev/null && fail "the program did not end after Exit"
echo "PASS: window titled Quillotune, outer height $height, ended by Exit"
