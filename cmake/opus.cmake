# libopus (floating point), cross-built from Debian's source package as a
# static library, for Ogg Opus through libsndfile. SSE and SSE2 are assumed
# (the whole program needs them); the SSE4.1 kernels are compiled for SSE4.1
# alone and chosen at run time when the processor has it.
set(OPUS_DIR "${CMAKE_SOURCE_DIR}/third_party/opus")
if(NOT EXISTS "${OPUS_DIR}/src/opus_decoder.c")
    message(FATAL_ERROR "libopus's source is missing: run tools/setup.sh (or tools/fetch-sources.sh)")
endif()
if(TARGET opus)
    return()
endif()

# The source lists of the library's own makefiles (NAME = a.c b.c ...).
function(opus_sources makefile variable out)
    file(READ "${OPUS_DIR}/${makefile}" text)
    string(REPLACE "\\\n" "" text "${text}")
    string(REGEX MATCH "(^|\n)${variable} *=[^\n]*" line "${text}")
    string(REGEX REPLACE "(^|\n)${variable} *= *" "" line "${line}")
    separate_arguments(files UNIX_COMMAND "${line}")
    list(TRANSFORM files PREPEND "${OPUS_DIR}/")
    set(${out} ${files} PARENT_SCOPE)
endfunction()

opus_sources(celt_sources.mk CELT_SOURCES celt)
opus_sources(celt_sources.mk CELT_SOURCES_SSE celt_sse)
opus_sources(celt_sources.mk CELT_SOURCES_SSE2 celt_sse2)
opus_sources(celt_sources.mk CELT_SOURCES_SSE4_1 celt_sse41)
opus_sources(silk_sources.mk SILK_SOURCES silk)
opus_sources(silk_sources.mk SILK_SOURCES_FLOAT silk_float)
opus_sources(silk_sources.mk SILK_SOURCES_SSE4_1 silk_sse41)
opus_sources(opus_sources.mk OPUS_SOURCES opus)
opus_sources(opus_sources.mk OPUS_SOURCES_FLOAT opus_float)
if(NOT celt OR NOT silk OR NOT opus OR NOT celt_sse41)
    message(FATAL_ERROR "libopus's source lists could not be read")
endif()

file(STRINGS "${OPUS_DIR}/package_version" opus_version REGEX "PACKAGE_VERSION")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" opus_version "${opus_version}")

add_library(opus STATIC ${celt} ${celt_sse} ${celt_sse2} ${celt_sse41} ${silk} ${silk_float}
            ${silk_sse41} ${opus} ${opus_float})
set_source_files_properties(${celt_sse41} ${silk_sse41} PROPERTIES COMPILE_OPTIONS -msse4.1)
# Users include <opus/opus.h>, as the installed headers lie.
file(GLOB opus_headers "${OPUS_DIR}/include/*.h")
foreach(header ${opus_headers})
    get_filename_component(name "${header}" NAME)
    configure_file("${header}" "${CMAKE_BINARY_DIR}/opus/include/opus/${name}" COPYONLY)
endforeach()
target_include_directories(opus SYSTEM PUBLIC "${OPUS_DIR}/include" "${CMAKE_BINARY_DIR}/opus/include")
target_include_directories(opus PRIVATE "${OPUS_DIR}" "${OPUS_DIR}/celt" "${OPUS_DIR}/silk"
                                        "${OPUS_DIR}/silk/float")
target_compile_definitions(opus PRIVATE OPUS_BUILD USE_ALLOCA NDEBUG OPUS_HAVE_RTCD CPU_INFO_BY_C
    OPUS_X86_MAY_HAVE_SSE OPUS_X86_PRESUME_SSE OPUS_X86_MAY_HAVE_SSE2 OPUS_X86_PRESUME_SSE2
    OPUS_X86_MAY_HAVE_SSE4_1 "PACKAGE_VERSION=\"${opus_version}\"")
target_compile_options(opus PRIVATE -O2 -w)
# Windows promises only a 4-byte aligned stack on entry to a 32-bit function.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(opus PRIVATE -mincoming-stack-boundary=2)
endif()
