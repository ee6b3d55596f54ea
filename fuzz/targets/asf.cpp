// Windows Media (ASF): the header objects, file and stream properties, and
// the check for a data object cut short.
#include "FuzzSupport.h"

#include "burner/core/playtime/AsfCheck.h"
#include "burner/core/playtime/AsfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadEveryWay(data, size, ReadAsfLength, [](const AudioLength& length, uint64_t) {
        if (length.IsSettled()) FUZZ_CHECK(length.rate > 0);
    });
    MemorySource whole(data, size);
    bool cut = AsfIsCutShort(whole);
    FUZZ_CHECK(!cut || LooksLikeAsf(data, size)); // other formats are never refused
    fuzz::ShortReadSource failing(data, size, uint64_t{size} * 2 + 4096);
    AsfIsCutShort(failing);
    return 0;
}
