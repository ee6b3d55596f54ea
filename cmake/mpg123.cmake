# libmpg123, cross-built from Debian's source package as a static library:
# MPEG audio layers I-III, gapless (the LAME/Info tag's delay and padding).
# Decoders as its own build picks them for the processor, with floating-point
# output, dispatched at run time (generic C with dither as the fallback):
# SSE for a 32-bit build, the x86-64 SSE and AVX kernels for a 64-bit one.
# Network, ICY, equaliser and the downsamplers are left out, and so is its
# opening of files by name (it reads through our callbacks only), so that
# it needs no Windows path helpers.
set(MPG123_DIR "${CMAKE_SOURCE_DIR}/third_party/mpg123")
if(NOT EXISTS "${MPG123_DIR}/src/libmpg123/libmpg123.c")
    message(FATAL_ERROR "libmpg123's source is missing: run tools/setup.sh (or tools/fetch-sources.sh)")
endif()
if(TARGET mpg123)
    return()
endif()

set(src "${MPG123_DIR}/src/libmpg123")
file(STRINGS "${MPG123_DIR}/configure.ac" mpg123_api REGEX "^API_VERSION=")
string(REGEX REPLACE "API_VERSION=" "" API_VERSION "${mpg123_api}")
file(STRINGS "${MPG123_DIR}/configure.ac" mpg123_init REGEX "^AC_INIT")
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" PACKAGE_VERSION "${mpg123_init}")
set(INCLUDE_STDLIB_H "#include <stdlib.h>")
set(INCLUDE_SYS_TYPE_H "#include <sys/types.h>")
set(BUILD_NO_LARGENAME 1) # off_t is a plain long on Windows
configure_file("${src}/mpg123.h.in" "${CMAKE_BINARY_DIR}/mpg123/include/mpg123.h" @ONLY)
configure_file("${src}/fmt123.h" "${CMAKE_BINARY_DIR}/mpg123/include/fmt123.h" COPYONLY)
file(WRITE "${CMAKE_BINARY_DIR}/mpg123/config.h.new" "\
#define ASMALIGN_BALIGN 1
#define CCALIGN 1
#define FRAME_INDEX 1
#define INDEX_SIZE 1000
#define GAPLESS 1
#define IEEE_FLOAT 1
#define USE_NEW_HUFFTABLE 1
#define NO_ICY 1
#define NO_NTOM 1
#define NO_DOWNSAMPLE 1
#define NO_EQUALIZER 1
#define NO_8BIT 1
#define NO_MOREINFO 1
#define HAVE_DIRENT_H 1
#define HAVE_INTTYPES_H 1
#define HAVE_LIMITS_H 1
#define HAVE_LOCALE_H 1
#define HAVE_STDINT_H 1
#define HAVE_STDIO_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRERROR 1
#define HAVE_STRING_H 1
#define HAVE_SYS_STAT_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_UNISTD_H 1
#define HAVE_WINDOWS_H 1
#define strcasecmp _stricmp
#define strncasecmp _strnicmp
#define SIZEOF_LONG 4
#define SIZEOF_OFF_T 4
#define LFS_ALIAS_BITS 32
#define lfs_alias_t long
#define PACKAGE_NAME \"mpg123\"
#define PACKAGE_VERSION \"${PACKAGE_VERSION}\"
")
file(COPY_FILE "${CMAKE_BINARY_DIR}/mpg123/config.h.new" "${CMAKE_BINARY_DIR}/mpg123/config.h"
     ONLY_IF_DIFFERENT)

set(mpg123_sources parse.c frame.c format.c dct64.c id3.c optimize.c readers.c tabinit.c
    libmpg123.c index.c layer1.c layer2.c layer3.c synth.c synth_real.c synth_s32.c
    stringbuf.c dither.c)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(mpg123_cpu OPT_MULTI OPT_GENERIC OPT_GENERIC_DITHER OPT_X86_64 OPT_AVX)
    list(APPEND mpg123_sources getcpuflags_x86_64.S dct36_x86_64.S dct64_x86_64.S
         dct64_x86_64_float.S synth_x86_64.S synth_x86_64_float.S synth_x86_64_s32.S
         synth_stereo_x86_64.S synth_stereo_x86_64_float.S synth_stereo_x86_64_s32.S
         dct36_avx.S dct64_avx.S dct64_avx_float.S synth_stereo_avx.S synth_stereo_avx_float.S
         synth_stereo_avx_s32.S)
else()
    set(mpg123_cpu OPT_MULTI OPT_GENERIC OPT_GENERIC_DITHER OPT_I386 OPT_SSE OPT_SSE_VINTAGE)
    list(APPEND mpg123_sources getcpuflags.S dct64_i386.c tabinit_mmx.S dct36_sse.S dct64_sse.S
         dct64_sse_float.S synth_sse.S synth_sse_float.S synth_stereo_sse_float.S
         synth_sse_s32.S synth_stereo_sse_s32.S)
endif()
list(TRANSFORM mpg123_sources PREPEND "${src}/")
# The assembly is preprocessed C-style; the C compiler driver does both.
set(mpg123_assembly ${mpg123_sources})
list(FILTER mpg123_assembly INCLUDE REGEX "\\.S$")
set_source_files_properties(${mpg123_assembly} PROPERTIES LANGUAGE C
                            COMPILE_OPTIONS "-x;assembler-with-cpp")
add_library(mpg123 STATIC ${mpg123_sources} "${MPG123_DIR}/src/compat/compat.c"
            "${MPG123_DIR}/src/compat/compat_str.c")
target_include_directories(mpg123 SYSTEM PUBLIC "${CMAKE_BINARY_DIR}/mpg123/include")
target_include_directories(mpg123 PRIVATE "${CMAKE_BINARY_DIR}/mpg123" "${src}" "${MPG123_DIR}/src" "${MPG123_DIR}/src/compat")
target_compile_definitions(mpg123 PRIVATE ${mpg123_cpu} REAL_IS_FLOAT NDEBUG)
target_compile_options(mpg123 PRIVATE -O2 -w)
# Windows promises only a 4-byte aligned stack on entry to a 32-bit function.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(mpg123 PRIVATE -mincoming-stack-boundary=2)
endif()
