// Which reader a file's first bytes call for, the formats left to the
// platform, and the whole seconds shown for what the readers settle.
#include "FuzzSupport.h"

#include "burner/core/playtime/LengthReaders.h"

namespace {

void CheckSeconds(const AudioLength& length, uint64_t fileSize) {
    if (!length.IsSettled()) return;
    int32_t seconds = -1;
    if (WholeSeconds(length.frames, length.rate, fileSize, &seconds) == 0) {
        FUZZ_CHECK(seconds >= 0);
        FUZZ_CHECK(static_cast<uint64_t>(seconds) <= fileSize / 4 + 1); // no lying headers
    } else {
        FUZZ_CHECK(seconds == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadEveryWay(data, size, MeasureLength, CheckSeconds);
    MemorySource source(data, size);
    LooksLikeOtherMedia(source);
    return 0;
}
