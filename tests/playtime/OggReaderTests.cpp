// The Ogg reader on pages built byte by byte.
#include "ByteBuilders.h"

#include "burner/playtime/OggReader.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kBos = 2;
constexpr uint8_t kEos = 4;

AudioLength Read(const Bytes& file) {
    MemorySource source(file);
    return ReadOggLength(source);
}

Bytes Packet(size_t size) {
    return Bytes(size, 0x5A);
}

// A stream: its header page, audio pages with rising granules, the last at last.
Bytes Stream(const Bytes& idPacket, uint32_t serial, uint64_t last, int pages = 20) {
    Bytes file = OggPage(kBos, 0, serial, 0, idPacket);
    for (int i = 1; i <= pages; ++i)
        Append(file, OggPage(i == pages ? kEos : 0, last * i / pages, serial, i, Packet(700)));
    return file;
}

TEST(OggReader, ChecksumIsTheOggCrc) {
    const char text[] = "123456789";
    EXPECT_EQ(0x89A1897Fu, OggChecksum(reinterpret_cast<const uint8_t*>(text), 9));
}

TEST(OggReader, VorbisLastsUntilItsLastGranule) {
    AudioLength length = Read(Stream(VorbisIdPacket(44100), 0x1234, 388080));
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(388080u, length.frames);
    EXPECT_EQ(44100u, length.rate);
}

TEST(OggReader, OpusCountsAt48kHzLessItsPreSkip) {
    AudioLength length = Read(Stream(OpusHeadPacket(312), 7, 350712));
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(350400u, length.frames);
    EXPECT_EQ(48000u, length.rate);
    EXPECT_EQ(0u, Read(Stream(OpusHeadPacket(3840), 7, 1000)).frames);
}

TEST(OggReader, FindsTheAudioStreamAmongOthers) {
    Bytes file = OggPage(kBos, 0, 1, 0, Bytes{0x80, 't', 'h', 'e', 'o', 'r', 'a'});
    Append(file, OggPage(kBos, 0, 2, 0, VorbisIdPacket(48000)));
    for (int i = 1; i <= 10; ++i) {
        Append(file, OggPage(0, i * 4800, 2, i, Packet(400)));
        Append(file, OggPage(0, i * 99999, 1, i, Packet(400)));
    }
    // The other stream's pages come last; the audio's last page is before them.
    for (int i = 11; i <= 30; ++i)
        Append(file, OggPage(0, i * 99999, 1, i, Packet(4000)));
    AudioLength length = Read(file);
    ASSERT_TRUE(length.IsSettled());
    EXPECT_EQ(48000u, length.frames);
}

TEST(OggReader, SkipsALastPageThatIsCutShortOrCorrupt) {
    Bytes file = Stream(VorbisIdPacket(22050), 9, 100000);
    Bytes cut(file.begin(), file.end() - 200);
    EXPECT_EQ(95000u, Read(cut).frames);

    Bytes corrupt = file;
    corrupt[corrupt.size() - 10] ^= 0xFF;
    EXPECT_EQ(95000u, Read(corrupt).frames);

    // A page that ends no packet carries no granule.
    Bytes open = file;
    Append(open, OggPage(0, ~0ull, 9, 99, Packet(200)));
    EXPECT_EQ(100000u, Read(open).frames);
}

TEST(OggReader, LooksBackFarForTheLastPageAcrossBigPages) {
    Bytes file = Stream(VorbisIdPacket(44100), 3, 44100, 3);
    for (int i = 0; i < 14; ++i)
        Append(file, OggPage(0, 0, 4, i, Packet(60000)));
    EXPECT_EQ(44100u, Read(file).frames);
}

TEST(OggReader, OtherContentsAreLeftOrRefused) {
    Bytes flac = OggPage(kBos, 0, 5, 0, Bytes{0x7F, 'F', 'L', 'A', 'C', 1, 0});
    Append(flac, OggPage(0, 1000, 5, 1, Packet(100)));
    EXPECT_EQ(LengthStatus::Unsettled, Read(flac).status);

    Bytes headerCut = Stream(VorbisIdPacket(44100), 1, 1000);
    headerCut.resize(20);
    EXPECT_EQ(LengthStatus::Damaged, Read(headerCut).status);

    Bytes noPages = OggPage(kBos, 0, 1, 0, VorbisIdPacket(44100));
    noPages.resize(noPages.size() - 5);
    EXPECT_EQ(LengthStatus::Damaged, Read(noPages).status);

    EXPECT_EQ(LengthStatus::Damaged, Read(Stream(VorbisIdPacket(0), 1, 1000)).status);
    EXPECT_EQ(LengthStatus::NotThisFormat, Read(Bytes{'R', 'I', 'F', 'F'}).status);
}

} // namespace
