#!/usr/bin/env bash
# Builds the fuzz targets (natively, clang with libFuzzer, ASan and UBSan)
# into build/fuzz and runs each for the seconds given, one after the other:
# first every input kept so far (the seeds, the inputs that once broke a
# target in fuzz/regressions/, the corpus grown by earlier runs), then new
# ones. Prints executions, coverage and time per target; exits non-zero when
# any target finds a fault, leaving the input in build/fuzz/findings/TARGET/.
# QUILLOTUNE_FUZZ_RUNS=N stops a target after N executions if that comes first.
#     fuzz/run.sh SECONDS [TARGET...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}/fuzz"
seconds="${1:?usage: fuzz/run.sh SECONDS [TARGET...]}"
shift

# target: seed folders, dictionary, longest input. The readers look at
# headers, so a few kilobytes hold everything they read.
audio="wav mp3 ogg asf flac aiff"
declare -A seeds=(
    [wav]=wav [mp3]=mp3 [ogg]=ogg [asf]=asf [flac]=flac [aiff]=aiff
    [detect]=$audio [decode]=$audio [image_name]=label16 [cue_title]=label8 [samples]=
)
declare -A dictionary=(
    [wav]=wav [mp3]=mp3 [ogg]=ogg [asf]=asf [flac]=flac [aiff]=aiff
    [detect]=detect [decode]=decode [image_name]=label16 [cue_title]=label8 [samples]=samples
)
declare -A max_len=(
    [wav]=4096 [mp3]=8192 [ogg]=8192 [asf]=8192 [flac]=4096 [aiff]=4096
    [detect]=8192 [decode]=8192 [image_name]=512 [cue_title]=512 [samples]=4096
)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(wav mp3 ogg asf flac aiff detect decode image_name cue_title samples)

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER="${QUILLOTUNE_FUZZ_CXX:-clang++-14}" >/dev/null || exit 1
fi
cmake --build "$build" -j"${QUILLOTUNE_JOBS:-2}" | grep -vE '^(\[[0-9]+/[0-9]+\] |ninja: no work to do)'
[ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
python3 "$here/make-seeds.py" "$build/seeds" || exit 1

# The last value a libFuzzer log gives for a field ("cov: 123", "stat::x: 5").
field() { # log pattern
    grep -oE "$2 *[0-9]+" "$1" | tail -n 1 | grep -oE '[0-9]+$' || echo 0
}

# A small quarantine still catches a use after a recent free, and spares the
# fresh pages a large one costs every allocation (a third of the speed here).
export ASAN_OPTIONS="quarantine_size_mb=16:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"

failed=()
printf '%-12s %12s %10s %8s %7s %6s  %s\n' target executions exec/s cover features time result
for target in "${targets[@]}"; do
    if [ -z "${seeds[$target]+x}" ] || [ ! -x "$build/fuzz_$target" ]; then
        echo "fuzz: no target named $target" >&2
        failed+=("$target")
        continue
    fi
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    log="$build/logs/$target-${seconds}s.log" # runs of other lengths may go on beside
    mkdir -p "$corpus" "$findings" "$build/logs" "$here/regressions/$target"
    inputs=("$corpus")
    for kind in ${seeds[$target]}; do
        [ -d "$build/seeds/$kind" ] && inputs+=("$build/seeds/$kind")
    done
    inputs+=("$here/regressions/$target")
    start=$(date +%s)
    nice -n 10 "$build/fuzz_$target" -max_total_time="$seconds" \
        -runs="${QUILLOTUNE_FUZZ_RUNS:--1}" -timeout=10 \
        -max_len="${max_len[$target]}" -dict="$here/dict/${dictionary[$target]}.dict" \
        -print_final_stats=1 -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1
    status=$?
    took=$(($(date +%s) - start))
    executions=$(field "$log" 'stat::number_of_executed_units:')
    result=clean
    if [ "$status" -ne 0 ]; then
        result="FOUND a fault (exit $status)"
        failed+=("$target")
    fi
    printf '%-12s %12s %10s %8s %7s %5ss  %s\n' "$target" "$executions" \
        "$((executions / (took > 0 ? took : 1)))" "$(field "$log" 'cov:')" \
        "$(field "$log" 'ft:')" "$took" "$result"
    if [ "$status" -ne 0 ]; then
        grep -E 'ERROR|runtime error|check failed|SUMMARY|Test unit written' "$log" | head -n 8 |
            sed 's/^/    /'
        echo "    full log: $log"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: faults found by: ${failed[*]} (inputs in $build/findings/)"
    exit 1
fi
