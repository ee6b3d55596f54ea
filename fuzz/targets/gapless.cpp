// The LAME (or Lavf) tag that says how much silence to trim from an MP3.
#include "FuzzSupport.h"

#include "burner/core/audio/Mp3Gapless.h"

namespace {

void CheckTrim(const GaplessTrim& trim) {
    // Decoders start 529 samples late, and what is kept lies within what
    // they give.
    FUZZ_CHECK(trim.skip >= 529);
    FUZZ_CHECK(trim.keep <= trim.untrimmed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GaplessTrim trim;
    if (ParseGaplessInfo(data, size, trim)) CheckTrim(trim);
    MemorySource source(data, size);
    GaplessTrim fromFile;
    if (ReadMp3Gapless(source, fromFile)) CheckTrim(fromFile);
    fuzz::ShortReadSource failing(data, size, uint64_t{size} * 2 + 4096);
    GaplessTrim fromFailing;
    if (ReadMp3Gapless(failing, fromFailing)) CheckTrim(fromFailing);
    return 0;
}
