# libsoxr, cross-built from Debian's source package (tools/fetch-sources.sh)
# as a static library with only what the engine uses: the single-precision
# SIMD constant-rate engine with its SSE FFT (PFFFT).
#
# Why not the library's own CMake: its SIMD detection finds its modules
# through CMAKE_SOURCE_DIR, so as a subproject it silently falls back to the
# scalar engine; its scalar files are built for the x87 FPU in a 32-bit
# build; and OpenMP (on by default) makes the two channels wait on each other
# at every block. bench/burn/README.md has the figures.
set(SOXR_DIR "${CMAKE_SOURCE_DIR}/third_party/soxr")
if(NOT EXISTS "${SOXR_DIR}/src/soxr.h")
    message(FATAL_ERROR "libsoxr's source is missing: run tools/setup.sh (or tools/fetch-sources.sh)")
endif()

set(AVCODEC_FOUND 0)
set(AVUTIL_FOUND 0)
set(WITH_PFFFT 1)
set(HAVE_FENV_H 1)
set(HAVE_STDBOOL_H 1)
set(HAVE_STDINT_H 1)
set(HAVE_LRINT 1)
set(HAVE_BIGENDIAN 0)
set(WITH_CR32 0)
set(WITH_CR32S 1)
set(WITH_CR64 0)
set(WITH_CR64S 0)
set(WITH_VR32 0)
set(WITH_HI_PREC_CLOCK 1)
set(WITH_FLOAT_STD_PREC_CLOCK 0)
set(WITH_DEV_TRACE 0)
configure_file("${SOXR_DIR}/soxr-config.h.in" "${CMAKE_BINARY_DIR}/soxr/soxr-config.h")

add_library(soxr STATIC
    "${SOXR_DIR}/src/soxr.c"
    "${SOXR_DIR}/src/data-io.c"
    "${SOXR_DIR}/src/dbesi0.c"
    "${SOXR_DIR}/src/filter.c"
    "${SOXR_DIR}/src/fft4g64.c"
    "${SOXR_DIR}/src/cr.c"
    "${SOXR_DIR}/src/cr32s.c"
    "${SOXR_DIR}/src/pffft32s.c"
    "${SOXR_DIR}/src/util32s.c")
target_include_directories(soxr PRIVATE "${CMAKE_BINARY_DIR}/soxr" "${SOXR_DIR}/src")
target_include_directories(soxr SYSTEM INTERFACE "${SOXR_DIR}/src")
target_compile_definitions(soxr PRIVATE SOXR_LIB NDEBUG)
# The whole library on SSE (the top level adds -msse2 -mfpmath=sse), fully
# optimised. Windows only promises a 4-byte aligned stack on entry, so the
# vector code realigns its own frames where it needs to.
target_compile_options(soxr PRIVATE -O3 -std=gnu99 -w)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(soxr PRIVATE -mincoming-stack-boundary=2)
endif()
