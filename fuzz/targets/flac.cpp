// Native FLAC: any ID3v2 tags, then STREAMINFO's rate and total samples.
#include "FuzzSupport.h"

#include "burner/core/playtime/FlacReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadEveryWay(data, size, ReadFlacLength, [](const AudioLength& length, uint64_t) {
        if (!length.IsSettled()) return;
        // STREAMINFO holds 20 bits of rate and 36 of samples.
        FUZZ_CHECK(length.rate > 0 && length.rate < (1u << 20));
        FUZZ_CHECK(length.frames > 0 && length.frames < (uint64_t{1} << 36));
    });
    return 0;
}
