// MPEG audio: ID3v2 tags, the Xing/Info (with LAME delays) and VBRI headers,
// and the frame walk with its resynchronisation.
#include "FuzzSupport.h"

#include "burner/core/playtime/Mp3Reader.h"

namespace {

bool IsMpegRate(uint32_t rate) {
    for (uint32_t base : {44100u, 48000u, 32000u})
        if (rate == base || rate == base / 2 || rate == base / 4) return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadEveryWay(data, size, ReadMp3Length, [](const AudioLength& length, uint64_t) {
        if (length.IsSettled()) FUZZ_CHECK(IsMpegRate(length.rate));
    });
    MemorySource source(data, size);
    bool damaged = false;
    uint64_t audioStart = SkipId3v2Tags(source, damaged);
    FUZZ_CHECK(audioStart <= size);
    FUZZ_CHECK(!damaged || audioStart == size);
    return 0;
}
