#!/usr/bin/env bash
# Times libsoxr as the engine uses it (stereo floats, 48 kHz to 44.1 kHz,
# high quality) built three ways, in the same run:
#   1. the library's own default build (its CMake, cross-compiled as is:
#      OpenMP on, SIMD engine found and chosen at run time);
#   2. the same library forced onto its scalar engine, which is what a
#      32-bit build gets when the SIMD engine is not built (its detection
#      lives in its own CMake modules, which a parent project does not see),
#      with its scalar files compiled for the x87 FPU;
#   3. our build (cmake/soxr.cmake): SIMD engine only, SSE everywhere, -O3,
#      no OpenMP.
# Each alone, then each with the other core busy (as in a burn, where the
# decoder runs beside the resampler).
# Usage: bench/burn/resampler-compare.sh [build folder]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
work="$build/soxr-default"

if [ ! -f "$work/resampler_default.exe" ]; then
    echo "Building libsoxr's own default configuration (once)..."
    cmake -S "$root/third_party/soxr" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF -DWITH_LSR_BINDINGS=OFF -Wno-dev >"$work.log" 2>&1
    cmake --build "$work/build" -j2 >>"$work.log" 2>&1
    i686-w64-mingw32-gcc-posix -O2 -I"$root/third_party/soxr/src" "$here/ResamplerBench.c" \
        "$work/build/src/libsoxr.a" -fopenmp -static -o "$work/resampler_default.exe"
fi

# shellcheck source=../../tools/display.sh
. "$root/tools/display.sh"
trap quillotune_cleanup_display EXIT

seconds=1200
busy() { # runs the same program on the other core meanwhile
    "$@" >/dev/null 2>&1 &
    local other=$!
    "$@"
    wait "$other"
}
echo "== libsoxr's default build"
wine "$work/resampler_default.exe" $seconds
busy wine "$work/resampler_default.exe" $seconds | sed 's/$/  (other core busy)/'
echo "== its scalar engine (x87)"
SOXR_USE_SIMD=0 wine "$work/resampler_default.exe" $seconds
SOXR_USE_SIMD=0 busy wine "$work/resampler_default.exe" $seconds | sed 's/$/  (other core busy)/'
echo "== our build"
wine "$build/bin/resampler_bench.exe" $seconds
busy wine "$build/bin/resampler_bench.exe" $seconds | sed 's/$/  (other core busy)/'
