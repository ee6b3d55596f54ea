// WAV, RF64 and BW64 headers: the chunk walk, ds64 sizes and the format.
#include "FuzzSupport.h"

#include "burner/core/playtime/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadEveryWay(data, size, ReadWavLength, [](const AudioLength& length, uint64_t fileSize) {
        if (!length.IsSettled()) return;
        // Every frame takes at least a byte of the data chunk, at a rate the
        // reader accepts.
        FUZZ_CHECK(length.frames <= fileSize);
        FUZZ_CHECK(length.rate > 0 && length.rate <= 1536000);
    });
    return 0;
}
