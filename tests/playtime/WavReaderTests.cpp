// The WAV reader on files built byte by byte: the shapes writers really
// produce, and the broken ones.
#include "ByteBuilders.h"

#include "burner/playtime/WavReader.h"

#include <gtest/gtest.h>

namespace {

AudioLength Read(const Bytes& file) {
    MemorySource source(file);
    return ReadWavLength(source);
}

Bytes Samples(size_t bytes) {
    return Bytes(bytes, 0x40);
}

TEST(WavReader, CountsWholeFramesForEveryPcmAndFloatLayout) {
    struct Case {
        uint16_t tag, channels, bits;
        uint32_t rate;
    } cases[] = {{1, 1, 8, 8000},   {1, 2, 16, 44100}, {1, 6, 24, 48000},
                 {1, 2, 32, 96000}, {3, 1, 32, 22050}, {3, 8, 64, 192000}};
    for (const Case& c : cases) {
        size_t block = c.channels * c.bits / 8;
        AudioLength length =
            Read(RiffWave({Chunk("fmt ", PcmFormat(c.tag, c.channels, c.rate, c.bits)),
                           Chunk("data", Samples(block * 1234))}));
        ASSERT_TRUE(length.IsSettled()) << c.channels << "ch " << c.bits;
        EXPECT_EQ(1234u, length.frames) << c.channels << "ch " << c.bits;
        EXPECT_EQ(c.rate, length.rate);
    }
}

TEST(WavReader, ReadsExtensibleFormatsByTheirSubtype) {
    AudioLength pcm = Read(RiffWave(
        {Chunk("fmt ", ExtensibleFormat(6, 48000, 24, 1)), Chunk("data", Samples(18 * 100))}));
    EXPECT_TRUE(pcm.IsSettled());
    EXPECT_EQ(100u, pcm.frames);
    AudioLength real = Read(RiffWave(
        {Chunk("fmt ", ExtensibleFormat(2, 44100, 32, 3)), Chunk("data", Samples(8 * 77))}));
    EXPECT_EQ(77u, real.frames);
    // A compressed subtype is left to the platform.
    AudioLength adpcm = Read(
        RiffWave({Chunk("fmt ", ExtensibleFormat(2, 44100, 16, 2)), Chunk("data", Samples(400))}));
    EXPECT_EQ(LengthStatus::Unsettled, adpcm.status);
}

TEST(WavReader, StepsOverOddSizedChunksWithTheirPadByte) {
    AudioLength length =
        Read(RiffWave({Chunk("fmt ", PcmFormat(1, 2, 44100, 16)), Chunk("junk", Bytes(5, 'x')),
                       Chunk("LIST", Bytes(3, 'y')), Chunk("data", Samples(4 * 500))}));
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(500u, length.frames);
}

TEST(WavReader, UnknownDataSizesRunToTheEndOfTheFile) {
    for (uint32_t stated : {0u, 0xFFFFFFFFu}) {
        AudioLength length = Read(RiffWave(
            {Chunk("fmt ", PcmFormat(1, 2, 44100, 16)), Chunk("data", Samples(4 * 321), stated)}));
        ASSERT_TRUE(length.IsSettled()) << stated;
        EXPECT_EQ(321u, length.frames) << stated;
    }
}

TEST(WavReader, ADataSizeBeyondTheFileCountsOnlyWhatIsThere) {
    // Cut short in the middle of a frame: the partial frame is not sound.
    AudioLength length = Read(RiffWave({Chunk("fmt ", PcmFormat(1, 2, 44100, 16)),
                                        Chunk("data", Samples(4 * 250 + 2), 0x7FFFFFF0)}));
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(250u, length.frames);
}

TEST(WavReader, StopsAtTheDataChunksEndBeforeTrailingChunks) {
    AudioLength length =
        Read(RiffWave({Chunk("fmt ", PcmFormat(1, 1, 8000, 16)), Chunk("data", Samples(2 * 640)),
                       Chunk("LIST", Bytes(5000, 'z'))}));
    EXPECT_EQ(640u, length.frames);
}

TEST(WavReader, FindsAFormatChunkThatFollowsTheData) {
    AudioLength length =
        Read(RiffWave({Chunk("data", Samples(4 * 90)), Chunk("fmt ", PcmFormat(1, 2, 32000, 16))}));
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(90u, length.frames);
    EXPECT_EQ(32000u, length.rate);
}

TEST(WavReader, TakesRf64SizesFromTheDs64Chunk) {
    Bytes ds64;
    PutLe64(ds64, 0);       // RIFF size
    PutLe64(ds64, 4 * 600); // data size
    PutLe64(ds64, 600);     // sample count
    PutLe32(ds64, 0);
    for (const char* magic : {"RF64", "BW64"}) {
        AudioLength length =
            Read(RiffWave({Chunk("ds64", ds64), Chunk("fmt ", PcmFormat(1, 2, 44100, 16)),
                           Chunk("data", Samples(4 * 700), 0xFFFFFFFF)},
                          magic));
        ASSERT_TRUE(length.IsSettled()) << magic;
        EXPECT_EQ(600u, length.frames) << magic;
    }
    // A ds64 size past the end of a cut file counts what is there.
    Bytes huge;
    PutLe64(huge, 0);
    PutLe64(huge, 1ull << 62);
    PutLe64(huge, 0);
    PutLe32(huge, 0);
    AudioLength cut = Read(RiffWave({Chunk("ds64", huge), Chunk("fmt ", PcmFormat(1, 2, 44100, 16)),
                                     Chunk("data", Samples(4 * 10), 0xFFFFFFFF)},
                                    "RF64"));
    EXPECT_EQ(10u, cut.frames);
}

TEST(WavReader, BrokenFilesAreDamagedAndOtherFilesNotWav) {
    Bytes good = RiffWave({Chunk("fmt ", PcmFormat(1, 2, 44100, 16)), Chunk("data", Samples(400))});
    EXPECT_EQ(LengthStatus::Damaged, Read(Bytes(good.begin(), good.begin() + 30)).status);
    EXPECT_EQ(LengthStatus::Damaged, Read(Bytes(good.begin(), good.begin() + 8)).status);
    EXPECT_EQ(LengthStatus::Damaged, Read(RiffWave({Chunk("data", Samples(400))})).status);
    EXPECT_EQ(LengthStatus::Damaged,
              Read(RiffWave({Chunk("fmt ", PcmFormat(1, 2, 44100, 16))})).status);
    // A format chunk too short to hold a format, or with zero channels.
    EXPECT_EQ(LengthStatus::Damaged,
              Read(RiffWave({Chunk("fmt ", Bytes(10, 1)), Chunk("data", Samples(400))})).status);
    EXPECT_EQ(LengthStatus::Damaged, Read(RiffWave({Chunk("fmt ", PcmFormat(1, 0, 44100, 16)),
                                                    Chunk("data", Samples(400))}))
                                         .status);
    Bytes avi = good;
    std::copy_n("AVI ", 4, avi.begin() + 8);
    EXPECT_EQ(LengthStatus::NotThisFormat, Read(avi).status);
    EXPECT_EQ(LengthStatus::NotThisFormat, Read(Bytes{'I', 'D', '3'}).status);
}

TEST(WavReader, LeavesLayoutsItCannotCountToThePlatform) {
    // IMA ADPCM, and PCM whose block size disagrees with its sample size.
    EXPECT_EQ(LengthStatus::Unsettled, Read(RiffWave({Chunk("fmt ", PcmFormat(0x11, 2, 44100, 4)),
                                                      Chunk("data", Samples(400))}))
                                           .status);
    Bytes odd = PcmFormat(1, 2, 44100, 16);
    odd[12] = 6;
    EXPECT_EQ(LengthStatus::Unsettled,
              Read(RiffWave({Chunk("fmt ", odd), Chunk("data", Samples(400))})).status);
}

TEST(WavReader, AnEndlessChunkListEnds) {
    std::vector<Bytes> chunks(100000, Chunk("pad ", {}));
    chunks.push_back(Chunk("fmt ", PcmFormat(1, 2, 44100, 16)));
    chunks.push_back(Chunk("data", Samples(400)));
    EXPECT_EQ(LengthStatus::Damaged, Read(RiffWave(chunks)).status);
}

} // namespace
