// AIFF and AIFF-C: the chunk walk, COMM with its 80-bit rate, SSND.
#include "FuzzSupport.h"

#include "burner/core/playtime/AiffReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadEveryWay(data, size, ReadAiffLength,
                       [](const AudioLength& length, uint64_t fileSize) {
                           if (!length.IsSettled()) return;
                           // Never more frames than the sound data holds, at a real rate.
                           FUZZ_CHECK(length.frames <= fileSize);
                           FUZZ_CHECK(length.rate > 0 && length.rate <= 4000000);
                       });
    if (size >= 10) {
        uint32_t rate = ExtendedToRate(data);
        FUZZ_CHECK(rate <= 4000000);
    }
    return 0;
}
