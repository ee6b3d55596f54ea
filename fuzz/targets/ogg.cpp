// Ogg Vorbis and Opus: the streams at the start, the search back for the
// last page and its checksum.
#include "FuzzSupport.h"

#include "burner/core/playtime/OggReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadEveryWay(data, size, ReadOggLength, [](const AudioLength& length, uint64_t) {
        if (length.IsSettled()) FUZZ_CHECK(length.rate > 0);
    });
    return 0;
}
