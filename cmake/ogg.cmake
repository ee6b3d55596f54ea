# libogg, cross-built from Debian's source package (tools/fetch-sources.sh)
# as a static library: the Ogg container under Vorbis, Opus and FLAC in Ogg.
set(OGG_DIR "${CMAKE_SOURCE_DIR}/third_party/ogg")
if(NOT EXISTS "${OGG_DIR}/src/framing.c")
    message(FATAL_ERROR "libogg's source is missing: run tools/setup.sh (or tools/fetch-sources.sh)")
endif()
if(TARGET ogg)
    return()
endif()

set(INCLUDE_INTTYPES_H 1)
set(INCLUDE_STDINT_H 1)
set(INCLUDE_SYS_TYPES_H 1)
set(SIZE16 int16_t)
set(USIZE16 uint16_t)
set(SIZE32 int32_t)
set(USIZE32 uint32_t)
set(SIZE64 int64_t)
set(USIZE64 uint64_t)
configure_file("${OGG_DIR}/include/ogg/config_types.h.in"
               "${CMAKE_BINARY_DIR}/ogg/include/ogg/config_types.h" @ONLY)

add_library(ogg STATIC "${OGG_DIR}/src/bitwise.c" "${OGG_DIR}/src/framing.c")
target_include_directories(ogg SYSTEM PUBLIC "${OGG_DIR}/include" "${CMAKE_BINARY_DIR}/ogg/include")
target_compile_options(ogg PRIVATE -O2 -w)
# Windows promises only a 4-byte aligned stack on entry to a 32-bit function.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(ogg PRIVATE -mincoming-stack-boundary=2)
endif()
