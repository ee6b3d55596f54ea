// The ASF (WMA) reader on headers built byte by byte.
#include "ByteBuilders.h"

#include "burner/playtime/AsfReader.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kTicksPerMs = 10000;

AudioLength Read(const Bytes& file) {
    MemorySource source(file);
    return ReadAsfLength(source);
}

TEST(AsfReader, FrameLengthsFollowTheSampleRateAndVersion) {
    EXPECT_EQ(512u, WmaFrameLength(8000, 2));
    EXPECT_EQ(512u, WmaFrameLength(16000, 2));
    EXPECT_EQ(1024u, WmaFrameLength(22050, 2));
    EXPECT_EQ(1024u, WmaFrameLength(32000, 1));
    EXPECT_EQ(2048u, WmaFrameLength(32000, 2));
    EXPECT_EQ(2048u, WmaFrameLength(44100, 1));
    EXPECT_EQ(2048u, WmaFrameLength(48000, 2));
}

TEST(AsfReader, Wma2LastsItsFramesLessTheOneTheDecoderHoldsBack) {
    // 108 frames of 2048 at 44.1 kHz: 5015.5 ms, stated to the millisecond,
    // with the usual 3.1 s preroll.
    for (uint64_t ms : {5015u, 5016u}) {
        AudioLength length = Read(AsfFile((ms + 3100) * kTicksPerMs, 3100, 2, true, 0x161, 44100));
        ASSERT_TRUE(length.IsSettled()) << ms;
        EXPECT_EQ(107u * 2048, length.frames) << ms;
        EXPECT_EQ(44100u, length.rate);
    }
    AudioLength wma1 = Read(AsfFile((4970 + 3100) * kTicksPerMs, 3100, 2, true, 0x160, 22050));
    EXPECT_EQ(106u * 1024, wma1.frames); // 107 frames of 1024 at 22.05 kHz
}

TEST(AsfReader, OtherCodecsLastThePlayDurationLessThePreroll) {
    AudioLength pro = Read(AsfFile(81234567, 3000, 2, true, 0x162, 48000));
    ASSERT_TRUE(pro.IsSettled());
    // 5.1234567 s at 48 kHz, rounded to the nearest sample.
    EXPECT_EQ(245926u, pro.frames);
}

TEST(AsfReader, LeavesWhatItCannotMeasureToThePlatform) {
    EXPECT_EQ(LengthStatus::Unsettled,
              Read(AsfFile(100000000, 3100, 1 | 2, true, 0x161, 44100)).status)
        << "broadcast";
    EXPECT_EQ(LengthStatus::Unsettled,
              Read(AsfFile(100000000, 3100, 2, false, 0x161, 44100)).status)
        << "no audio stream";
}

TEST(AsfReader, ImpossibleOrCutHeadersAreDamaged) {
    EXPECT_EQ(LengthStatus::Damaged, Read(AsfFile(1000, 3100, 2, true, 0x161, 44100)).status)
        << "preroll longer than the play time";
    EXPECT_EQ(LengthStatus::Damaged, Read(AsfFile(~0ull - 5, 3100, 2, true, 0x161, 44100)).status)
        << "absurd duration";
    EXPECT_EQ(LengthStatus::Damaged,
              Read(AsfFile(100000000, ~0ull / 1000, 2, true, 0x161, 44100)).status)
        << "absurd preroll";
    Bytes file = AsfFile(100000000, 3100, 2, true, 0x161, 44100);
    EXPECT_EQ(LengthStatus::Damaged, Read(Bytes(file.begin(), file.begin() + 60)).status);
    EXPECT_EQ(LengthStatus::Damaged, Read(Bytes(file.begin(), file.begin() + 20)).status);
    // An object claiming to be bigger than the header stops the walk.
    Bytes lying = file;
    lying[30 + 16] = 0xFF;
    lying[30 + 17] = 0xFF;
    EXPECT_EQ(LengthStatus::Damaged, Read(lying).status);
    EXPECT_EQ(LengthStatus::NotThisFormat, Read(Bytes(40, 0x30)).status);
}

} // namespace
