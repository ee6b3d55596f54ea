# libsndfile, cross-built from Debian's source package as a static library,
# reading through our own callbacks (virtual I/O) with Ogg Vorbis, Ogg Opus
# and FLAC (native and in Ogg) from the libraries under it. MPEG stays out:
# libmpg123 is used directly. Every format file is built because the
# library's format dispatch refers to them all.
include("${CMAKE_CURRENT_LIST_DIR}/ogg.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/vorbis.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/flac.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/opus.cmake")
set(SNDFILE_DIR "${CMAKE_SOURCE_DIR}/third_party/sndfile")
if(NOT EXISTS "${SNDFILE_DIR}/src/sndfile.c")
    message(FATAL_ERROR "libsndfile's source is missing: run tools/setup.sh (or tools/fetch-sources.sh)")
endif()
if(TARGET sndfile)
    return()
endif()

file(STRINGS "${SNDFILE_DIR}/CMakeLists.txt" sndfile_project REGEX "project *\\(libsndfile VERSION")
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" sndfile_version "${sndfile_project}")
math(EXPR sndfile_pointer "${CMAKE_SIZEOF_VOID_P}")
file(WRITE "${CMAKE_BINARY_DIR}/sndfile/config.h.new" "\
#define COMPILER_IS_GCC 1
#define CPU_CLIPS_NEGATIVE 0
#define CPU_CLIPS_POSITIVE 0
#define CPU_IS_BIG_ENDIAN 0
#define CPU_IS_LITTLE_ENDIAN 1
#define WORDS_BIGENDIAN 0
#define ENABLE_EXPERIMENTAL_CODE 0
#define HAVE_EXTERNAL_XIPH_LIBS 1
#define HAVE_MPEG 0
#define HAVE_SQLITE3 0
#define HAVE_ALSA_ASOUNDLIB_H 0
#define HAVE_BYTESWAP_H 0
#define HAVE_ENDIAN_H 0
#define HAVE_DECL_S_IRGRP 0
#define HAVE_FSTAT64 0
#define HAVE_FSYNC 0
#define HAVE_GETTIMEOFDAY 1
#define HAVE_IMMINTRIN_H 1
#define HAVE_INTTYPES_H 1
#define HAVE_IO_H 1
#define HAVE_LOCALE_H 1
#define HAVE_LRINT 1
#define HAVE_LRINTF 1
#define HAVE_MMAP 0
#define HAVE_PIPE 0
#define HAVE_SETLOCALE 1
#define HAVE_SSIZE_T 1
#define HAVE_STDBOOL_H 1
#define HAVE_STDINT_H 1
#define HAVE_SYS_TIME_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_SYS_WAIT_H 0
#define HAVE_UNISTD_H 1
#define HAVE_WAITPID 0
#define OS_IS_WIN32 1
#define OS_IS_OPENBSD 0
#define OSX_DARWIN_VERSION 0
#define USE_WINDOWS_API 1
#define WIN32_TARGET_DLL 0
#define USE_SSE2 1
#define SIZEOF_INT64_T 8
#define SIZEOF_OFF_T 4
#define SIZEOF_SF_COUNT_T 8
#define SIZEOF_VOIDP ${sndfile_pointer}
#define SIZEOF_WCHAR_T 2
#define PACKAGE \"libsndfile\"
#define PACKAGE_NAME \"libsndfile\"
#define PACKAGE_VERSION \"${sndfile_version}\"
#define VERSION \"${sndfile_version}\"
")
file(COPY_FILE "${CMAKE_BINARY_DIR}/sndfile/config.h.new" "${CMAKE_BINARY_DIR}/sndfile/config.h"
     ONLY_IF_DIFFERENT)

set(sndfile_sources common file_io command pcm ulaw alaw float32 double64 ima_adpcm ms_adpcm
    gsm610 dwvw vox_adpcm interleave strings dither cart broadcast audio_detect ima_oki_adpcm alac
    chunk ogg chanmap id3 windows sndfile aiff au avr caf dwd flac g72x htk ircam macos mat4 mat5
    nist paf pvf raw rx2 sd2 sds svx txw voc wve w64 wavlike wav xi mpc2k rf64 ogg_vorbis
    ogg_speex ogg_pcm ogg_opus ogg_vcomment nms_adpcm mpeg
    GSM610/add GSM610/code GSM610/decode GSM610/gsm_create GSM610/gsm_decode GSM610/gsm_destroy
    GSM610/gsm_encode GSM610/gsm_option GSM610/long_term GSM610/lpc GSM610/preprocess GSM610/rpe
    GSM610/short_term GSM610/table G72x/g721 G72x/g723_16 G72x/g723_24 G72x/g723_40 G72x/g72x
    ALAC/ALACBitUtilities ALAC/ag_dec ALAC/ag_enc ALAC/dp_dec ALAC/dp_enc ALAC/matrix_dec
    ALAC/matrix_enc ALAC/alac_decoder ALAC/alac_encoder)
list(TRANSFORM sndfile_sources PREPEND "${SNDFILE_DIR}/src/")
list(TRANSFORM sndfile_sources APPEND ".c")
add_library(sndfile STATIC ${sndfile_sources})
target_include_directories(sndfile SYSTEM PUBLIC "${SNDFILE_DIR}/include")
target_include_directories(sndfile PRIVATE "${CMAKE_BINARY_DIR}/sndfile" "${SNDFILE_DIR}/src")
target_compile_definitions(sndfile PRIVATE HAVE_CONFIG_H NDEBUG)
target_compile_options(sndfile PRIVATE -O2 -std=gnu99 -w)
target_link_libraries(sndfile PUBLIC vorbis FLAC opus ogg)
# Windows promises only a 4-byte aligned stack on entry to a 32-bit function.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(sndfile PRIVATE -mincoming-stack-boundary=2)
endif()
