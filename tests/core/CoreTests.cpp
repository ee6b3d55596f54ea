// The core's readers over a plain buffer, as a fuzzer will call them, and the
// engine's boundary that nothing thrown may cross.
#include "burner/core/ExportGuard.h"
#include "burner/core/playtime/LengthReaders.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

namespace {

void Put(std::vector<uint8_t>& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

// The first frame's Xing/Info and LAME tag give the length of the sound a
// gapless decoder keeps: without the encoder's delay and padding.
TEST(Readers, ALameTaggedMp3LastsItsSoundWithoutDelayAndPadding) {
    std::vector<uint8_t> mp3 = {0xFF, 0xFB, 0x90, 0x00}; // MPEG-1 layer III, 128k, 44.1 kHz
    mp3.resize(36);
    Put(mp3, "Info");
    const uint8_t framesFlag[] = {0, 0, 0, 1, 0, 0, 0, 100}; // flags, then 100 frames
    mp3.insert(mp3.end(), framesFlag, framesFlag + 8);
    Put(mp3, "LAME");
    mp3.resize(mp3.size() + 17);
    const uint32_t delays = 576u << 12 | 1000u; // encoder delay, padding
    mp3.push_back(static_cast<uint8_t>(delays >> 16));
    mp3.push_back(static_cast<uint8_t>(delays >> 8));
    mp3.push_back(static_cast<uint8_t>(delays));
    mp3.resize(417 + 100 * 417);

    MemorySource source(mp3);
    AudioLength length = MeasureLength(source);
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(100u * 1152 - 576 - 1000, length.frames);
    EXPECT_EQ(44100u, length.rate);
}

TEST(ExportGuard, NothingThrownCrossesTheBoundary) {
    EXPECT_EQ(7, Guarded([]() -> int32_t { return 7; }));
    EXPECT_EQ(ToCode(EngineError::Internal), Guarded([]() -> int32_t { throw std::bad_alloc(); }));
    EXPECT_EQ(ToCode(EngineError::Internal), Guarded([]() -> int32_t { throw 42; }));
    bool reached = false;
    Guarded([&] {
        reached = true;
        throw std::runtime_error("a handler setter that fails");
    });
    EXPECT_TRUE(reached);
}

} // namespace
