# libFLAC, cross-built from Debian's source package as a static library, with
# Ogg (FLAC in Ogg). Its SIMD paths (SSE2 to AVX2, by intrinsics with their
# own target attributes) are chosen at run time from what the processor has.
include("${CMAKE_CURRENT_LIST_DIR}/ogg.cmake")
set(FLAC_DIR "${CMAKE_SOURCE_DIR}/third_party/flac")
if(NOT EXISTS "${FLAC_DIR}/src/libFLAC/stream_decoder.c")
    message(FATAL_ERROR "libFLAC's source is missing: run tools/setup.sh (or tools/fetch-sources.sh)")
endif()
if(TARGET FLAC)
    return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(flac_words 1)
else()
    set(flac_words 0)
endif()
file(STRINGS "${FLAC_DIR}/CMakeLists.txt" flac_project REGEX "project\\(FLAC VERSION")
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" flac_version "${flac_project}")
file(WRITE "${CMAKE_BINARY_DIR}/flac/config.h.new" "\
#define CPU_IS_BIG_ENDIAN 0
#define CPU_IS_LITTLE_ENDIAN 1
#define ENABLE_64_BIT_WORDS ${flac_words}
#define FLAC__HAS_OGG 1
#define OGG_FOUND 1
#define FLAC__HAS_X86INTRIN 1
#define FLAC__HAS_NEONINTRIN 0
#define FLAC__HAS_A64NEONINTRIN 0
#define FLAC__ALIGN_MALLOC_DATA 1
#define FLAC__USE_AVX 1
#define HAVE_BSWAP16 1
#define HAVE_BSWAP32 1
#define HAVE_CPUID_H 1
#define HAVE_FSEEKO 1
#define HAVE_INTTYPES_H 1
#define HAVE_LROUND 1
#define HAVE_STDINT_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1
#define HAVE_SYS_STAT_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_TYPEOF 1
#define HAVE_X86INTRIN_H 1
#define PACKAGE_VERSION \"${flac_version}\"
")
file(COPY_FILE "${CMAKE_BINARY_DIR}/flac/config.h.new" "${CMAKE_BINARY_DIR}/flac/config.h"
     ONLY_IF_DIFFERENT)

set(flac_sources bitmath bitreader bitwriter cpu crc fixed fixed_intrin_sse2 fixed_intrin_ssse3
    float format lpc lpc_intrin_sse2 lpc_intrin_sse41 lpc_intrin_avx2 lpc_intrin_fma md5 memory
    metadata_iterators metadata_object stream_decoder stream_encoder stream_encoder_intrin_sse2
    stream_encoder_intrin_ssse3 stream_encoder_intrin_avx2 stream_encoder_framing window
    ogg_decoder_aspect ogg_encoder_aspect ogg_helper ogg_mapping)
list(TRANSFORM flac_sources PREPEND "${FLAC_DIR}/src/libFLAC/")
list(TRANSFORM flac_sources APPEND ".c")
add_library(FLAC STATIC ${flac_sources} "${FLAC_DIR}/src/share/win_utf8_io/win_utf8_io.c")
target_include_directories(FLAC SYSTEM PUBLIC "${FLAC_DIR}/include")
target_include_directories(FLAC PRIVATE "${CMAKE_BINARY_DIR}/flac" "${FLAC_DIR}/src/libFLAC/include")
target_compile_definitions(FLAC PUBLIC FLAC__NO_DLL PRIVATE HAVE_CONFIG_H NDEBUG)
target_compile_options(FLAC PRIVATE -O3 -w)
target_link_libraries(FLAC PUBLIC ogg)
# Windows promises only a 4-byte aligned stack on entry to a 32-bit function.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(FLAC PRIVATE -mincoming-stack-boundary=2)
endif()
