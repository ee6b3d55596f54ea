# libvorbis (with its encoder, which libsndfile's Ogg layer links to even when
# it only reads), cross-built from Debian's source package as a static library.
# Its decoder is plain float C: built with SSE like everything else, -O2.
include("${CMAKE_CURRENT_LIST_DIR}/ogg.cmake")
set(VORBIS_DIR "${CMAKE_SOURCE_DIR}/third_party/vorbis")
if(NOT EXISTS "${VORBIS_DIR}/lib/synthesis.c")
    message(FATAL_ERROR "libvorbis's source is missing: run tools/setup.sh (or tools/fetch-sources.sh)")
endif()
if(TARGET vorbis)
    return()
endif()

set(vorbis_sources mdct smallft block envelope window lsp lpc analysis synthesis psy info
    floor1 floor0 res0 mapping0 registry codebook sharedbook lookup bitrate vorbisenc)
list(TRANSFORM vorbis_sources PREPEND "${VORBIS_DIR}/lib/")
list(TRANSFORM vorbis_sources APPEND ".c")
add_library(vorbis STATIC ${vorbis_sources})
target_include_directories(vorbis SYSTEM PUBLIC "${VORBIS_DIR}/include")
target_include_directories(vorbis PRIVATE "${VORBIS_DIR}/lib")
target_link_libraries(vorbis PUBLIC ogg)
target_compile_options(vorbis PRIVATE -O2 -w)
# Windows promises only a 4-byte aligned stack on entry to a 32-bit function.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(vorbis PRIVATE -mincoming-stack-boundary=2)
endif()
