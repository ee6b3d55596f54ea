// What a file's first bytes make of it: the play-time reader they call for
// (and the whole seconds shown for a settled length), and the decoder a
// burn chooses for them.
#include "FuzzSupport.h"

#include "burner/core/audio/AudioSniffer.h"
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
    AudioContainer container = SniffAudio(source);
    FUZZ_CHECK(DescribeContainer(container) != nullptr);
    // A file that shows a play time is one a burn takes on, not one it
    // refuses as undecodable.
    MemorySource again(data, size);
    if (MeasureLength(again).IsSettled()) FUZZ_CHECK(FamilyOf(container) != DecoderFamily::None);
    fuzz::ShortReadSource failing(data, size, uint64_t{size} * 2 + 4096);
    SniffAudio(failing);
    return 0;
}
