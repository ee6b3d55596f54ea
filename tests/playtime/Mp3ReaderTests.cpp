// The MPEG audio reader on streams of silent frames built byte by byte.
#include "ByteBuilders.h"

#include "burner/playtime/Mp3Reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

constexpr uint64_t kFrame = 1152;

AudioLength Read(const Bytes& file) {
    MemorySource source(file);
    return ReadMp3Length(source);
}

// count frames with varying bit rates and padding, as VBR files have.
Bytes Frames(int count, bool mpeg2 = false) {
    Bytes out;
    for (int i = 0; i < count; ++i)
        Append(out, Mp3Frame(1 + (i * 5) % 14, i % 3 == 0, mpeg2));
    return out;
}

struct InfoTag {
    const char* magic = "Xing";
    bool withFrames = true;
    uint32_t frames = 0;
    uint32_t bytes = 0; // 0: not stated
    const char* encoder = "LAME3.100";
    uint32_t startPad = 576;
    uint32_t endPad = 1000;
};

// A first frame holding a Xing/Info header and a LAME tag.
Bytes InfoFrame(const InfoTag& info) {
    Bytes frame = Mp3Frame(9, false);
    Bytes tag;
    PutText(tag, info.magic);
    uint32_t flags = (info.withFrames ? 1 : 0) | (info.bytes != 0 ? 2 : 0) | 4 | 8;
    PutBe32(tag, flags);
    if (info.withFrames) PutBe32(tag, info.frames);
    if (info.bytes != 0) PutBe32(tag, info.bytes);
    tag.resize(tag.size() + 100 + 4, 0); // seek table, quality
    Bytes encoder(9, ' ');
    std::copy_n(info.encoder, std::strlen(info.encoder), encoder.begin());
    Append(tag, encoder);
    tag.resize(tag.size() + 12, 0);
    uint32_t delays = info.startPad << 12 | info.endPad;
    tag.push_back(delays >> 16);
    tag.push_back((delays >> 8) & 0xFF);
    tag.push_back(delays & 0xFF);
    std::copy(tag.begin(), tag.end(), frame.begin() + 4 + 32);
    return frame;
}

TEST(Mp3Reader, CountsEveryFrameOfAStreamWithoutHeader) {
    AudioLength length = Read(Frames(250));
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(250 * kFrame, length.frames);
    EXPECT_EQ(44100u, length.rate);

    AudioLength mpeg2 = Read(Frames(90, true));
    EXPECT_EQ(90u * 576, mpeg2.frames);
    EXPECT_EQ(22050u, mpeg2.rate);
}

TEST(Mp3Reader, SkipsId3v2TagsOfAnySizeWithFootersAndSeveralInARow) {
    Bytes file = Id3v2(4, 3 * 1024 * 1024, true);
    Append(file, Id3v2(3, 77, false));
    Append(file, Frames(40));
    AudioLength length = Read(file);
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(40 * kFrame, length.frames);
}

TEST(Mp3Reader, ATagLongerThanTheFileIsDamaged) {
    Bytes file = Id3v2(3, 100, false);
    file[6] = file[7] = file[8] = file[9] = 0x7F;
    Append(file, Frames(10));
    EXPECT_EQ(LengthStatus::Damaged, Read(file).status);
}

TEST(Mp3Reader, TrimsTheLameDelayAndPaddingFromTheXingCount) {
    InfoTag info;
    info.frames = 100;
    Bytes file = InfoFrame(info);
    Append(file, Frames(100));
    AudioLength length = Read(file);
    ASSERT_TRUE(length.IsSettled());
    // 100 frames, less the encoder delay and padding.
    EXPECT_EQ(100 * kFrame - 576 - 1000, length.frames);

    // Padding shorter than the decoder's own delay trims nothing at the end.
    info.endPad = 300;
    Bytes shortPad = InfoFrame(info);
    Append(shortPad, Frames(100));
    EXPECT_EQ(100 * kFrame - 576 - 529, Read(shortPad).frames);

    // An Info header (constant bit rate) counts the same way.
    info.magic = "Info";
    info.endPad = 1000;
    Bytes cbr = InfoFrame(info);
    Append(cbr, Frames(100));
    EXPECT_EQ(100 * kFrame - 1576, Read(cbr).frames);
}

TEST(Mp3Reader, WithoutAnEncoderTagTheXingCountStandsAsItIs) {
    InfoTag info;
    info.frames = 60;
    info.encoder = "GOGO";
    Bytes file = InfoFrame(info);
    Append(file, Frames(60));
    EXPECT_EQ(60 * kFrame, Read(file).frames);
}

TEST(Mp3Reader, AXingHeaderWithoutFrameCountMeansCountingTheFrames) {
    InfoTag info;
    info.withFrames = false;
    Bytes frames = Frames(80);
    info.bytes = static_cast<uint32_t>(417 + frames.size());
    Bytes file = InfoFrame(info);
    Append(file, frames);
    AudioLength length = Read(file);
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(80 * kFrame - 576 - 529, length.frames);
}

TEST(Mp3Reader, DoesNotTrustAHeaderTheFileCannotHold) {
    InfoTag info;
    info.frames = 4000000; // far more than 30 frames of bytes can hold
    Bytes file = InfoFrame(info);
    Append(file, Frames(30));
    EXPECT_EQ(30 * kFrame - 576 - 529, Read(file).frames);

    // Cut short of the size the header states: only what is there decodes.
    InfoTag cut;
    cut.frames = 200;
    Bytes all = Frames(200);
    cut.bytes = static_cast<uint32_t>(417 + all.size());
    Bytes shortFile = InfoFrame(cut);
    Append(shortFile, Bytes(all.begin(), all.begin() + all.size() / 2));
    AudioLength length = Read(shortFile);
    EXPECT_LT(length.frames, 110 * kFrame);
    EXPECT_GT(length.frames, 90 * kFrame);
}

TEST(Mp3Reader, TakesTheFrameCountOfAVbriHeader) {
    Bytes file = Mp3Frame(9, false);
    Bytes vbri;
    PutText(vbri, "VBRI");
    vbri.push_back(0);
    vbri.push_back(1); // version
    vbri.resize(vbri.size() + 4, 0);
    Bytes frames = Frames(70);
    PutBe32(vbri, static_cast<uint32_t>(frames.size() + file.size()));
    PutBe32(vbri, 70);
    std::copy(vbri.begin(), vbri.end(), file.begin() + 4 + 32);
    Append(file, frames);
    AudioLength length = Read(file);
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(70 * kFrame, length.frames);
}

TEST(Mp3Reader, StepsOverJunkAndStopsAtTrailingTags) {
    Bytes file(500, 0x11); // junk before the first frame
    Append(file, Frames(20));
    Append(file, Bytes(300, 0x22)); // junk between frames
    Append(file, Frames(15));
    PutText(file, "APETAGEX");
    file.resize(file.size() + 24 + 60, 0);
    Bytes id3v1(128, 0);
    std::copy_n("TAG", 3, id3v1.begin());
    Append(file, id3v1);
    AudioLength length = Read(file);
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(35 * kFrame, length.frames);
}

TEST(Mp3Reader, ALastFrameCutShortStillDecodesOnceItsHeaderIsThere) {
    Bytes file = Frames(12);
    Bytes lastHeader = Mp3Frame(1 + (11 * 5) % 14, false);
    size_t lastStart = file.size() - lastHeader.size();
    file.resize(file.size() - 50);
    EXPECT_EQ(12 * kFrame, Read(file).frames);
    file.resize(lastStart + 3);
    EXPECT_EQ(11 * kFrame, Read(file).frames);
}

TEST(Mp3Reader, TakesTheHeaderFrameEvenWhenJunkFollowsIt) {
    InfoTag info;
    info.frames = 0;
    info.withFrames = false;
    Bytes frames = Frames(40);
    info.bytes = static_cast<uint32_t>(417 + 100 + frames.size());
    Bytes file = InfoFrame(info);
    Append(file, Bytes(100, 0x33));
    Append(file, frames);
    EXPECT_EQ(40 * kFrame - 576 - 529, Read(file).frames);
}

TEST(Mp3Reader, RandomBytesAndFreeFormatAreNotMeasured) {
    std::mt19937 random(7);
    Bytes noise(256 * 1024);
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>(random());
    EXPECT_EQ(LengthStatus::NotThisFormat, Read(noise).status);

    Bytes freeFormat;
    for (int i = 0; i < 5; ++i) {
        Bytes frame = Mp3Frame(9, false);
        frame[2] &= 0x0F; // bit rate index 0: the size is not in the header
        Append(freeFormat, frame);
    }
    EXPECT_EQ(LengthStatus::Unsettled, Read(freeFormat).status);

    // A tag with no frames after it may be another format under the tag.
    Bytes tagOnly = Id3v2(3, 500, false);
    EXPECT_EQ(LengthStatus::Unsettled, Read(tagOnly).status);
}

} // namespace
