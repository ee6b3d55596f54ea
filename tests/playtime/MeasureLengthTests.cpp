// Choosing the reader, turning lengths into seconds, and staying fast and
// whole on hostile input.
#include "ByteBuilders.h"

#include "burner/playtime/PlayTime.h"
#include "burner/playtime/PlayTimeErrors.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A huge file that costs nothing: random bytes after a given head, counting
// what the readers ask for.
class HugeSource : public ByteSource {
public:
    HugeSource(Bytes head, uint64_t size) : m_head(std::move(head)), m_size(size) {}
    uint64_t Size() const override { return m_size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        if (offset >= m_size) return 0;
        size_t n = static_cast<size_t>(std::min<uint64_t>(count, m_size - offset));
        uint8_t* out = static_cast<uint8_t*>(buffer);
        for (size_t i = 0; i < n; ++i) {
            uint64_t at = offset + i;
            out[i] =
                at < m_head.size() ? m_head[at] : static_cast<uint8_t>((at * 2654435761u) >> 13);
        }
        m_bytesRead += n;
        return n;
    }
    uint64_t BytesRead() const { return m_bytesRead; }

private:
    Bytes m_head;
    uint64_t m_size;
    uint64_t m_bytesRead = 0;
};

AudioLength Measure(const Bytes& file) {
    MemorySource source(file);
    return MeasureLength(source);
}

TEST(MeasureLength, PicksTheReaderByContentNotByName) {
    Bytes wav =
        RiffWave({Chunk("fmt ", PcmFormat(1, 2, 44100, 16)), Chunk("data", Bytes(4 * 44100))});
    EXPECT_EQ(44100u, Measure(wav).frames);
    Bytes mp3;
    for (int i = 0; i < 10; ++i)
        Append(mp3, Mp3Frame(9, false));
    EXPECT_EQ(11520u, Measure(mp3).frames);
    Bytes ogg = OggPage(2, 0, 1, 0, VorbisIdPacket(8000));
    Append(ogg, OggPage(4, 8000, 1, 1, Bytes(50, 1)));
    EXPECT_EQ(8000u, Measure(ogg).frames);
    EXPECT_TRUE(Measure(AsfFile(60000000, 3000, 2, true, 0x162, 44100)).IsSettled());
}

TEST(MeasureLength, SendsOtherMediaToThePlatformAndRefusesTheRest) {
    auto status = [](Bytes head) {
        head.resize(4096, 0);
        return Measure(head).status;
    };
    Bytes m4a = {0, 0, 0, 0x20, 'f', 't', 'y', 'p', 'M', '4', 'A', ' '};
    EXPECT_EQ(LengthStatus::Unsettled, status(m4a));
    EXPECT_EQ(LengthStatus::Unsettled, status({'f', 'L', 'a', 'C', 0, 0, 0, 0x22}));
    EXPECT_EQ(LengthStatus::Unsettled,
              status({'F', 'O', 'R', 'M', 0, 0, 1, 0, 'A', 'I', 'F', 'F'}));
    Bytes adts = {0xFF, 0xF1, 0x50, 0x80, 0x02, 0x1F, 0xFC};
    adts.resize(16, 0);
    Append(adts, {0xFF, 0xF1, 0x50, 0x80, 0x02, 0x1F, 0xFC});
    EXPECT_EQ(LengthStatus::Unsettled, status(adts));
    Bytes taggedFlac = Id3v2(3, 100, false);
    Append(taggedFlac, {'f', 'L', 'a', 'C'});
    EXPECT_EQ(LengthStatus::Unsettled, status(taggedFlac));

    Bytes text;
    PutText(text, "Dear friend,\nthis is a letter, not a song.\n");
    EXPECT_EQ(LengthStatus::NotThisFormat, Measure(text).status);
}

TEST(MeasureLength, ReadsLittleOfAHugeFile) {
    const uint64_t fourGigabytes = 4ull << 30;
    Bytes wavHead = RiffWave({Chunk("fmt ", PcmFormat(1, 2, 44100, 16))});
    Append(wavHead, Chunk("data", {}, 0xFFFFFFFF));
    Bytes id3Head = Id3v2(3, 1000, false);
    Bytes oggHead = OggPage(2, 0, 1, 0, VorbisIdPacket(44100));
    for (const Bytes& head : {Bytes{}, wavHead, id3Head, oggHead}) {
        HugeSource source(head, fourGigabytes);
        AudioLength length = MeasureLength(source);
        EXPECT_LT(source.BytesRead(), 8u << 20) << "head of " << head.size();
        if (head == wavHead) {
            EXPECT_EQ((fourGigabytes - head.size()) / 4, length.frames);
        }
    }
}

TEST(MeasureLength, SurvivesRandomAndMangledFiles) {
    std::mt19937 random(2024);
    std::vector<Bytes> seeds;
    seeds.push_back(
        RiffWave({Chunk("fmt ", ExtensibleFormat(2, 48000, 24, 1)), Chunk("data", Bytes(600))}));
    Bytes mp3 = Id3v2(4, 40, true);
    for (int i = 0; i < 6; ++i)
        Append(mp3, Mp3Frame(5 + i, i & 1));
    seeds.push_back(mp3);
    Bytes ogg = OggPage(2, 0, 1, 0, OpusHeadPacket(312));
    Append(ogg, OggPage(4, 96000, 1, 1, Bytes(300, 3)));
    seeds.push_back(ogg);
    seeds.push_back(AsfFile(90000000, 3100, 2, true, 0x161, 44100));

    int settled = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes file = seeds[round % seeds.size()];
        int flips = 1 + random() % 8;
        for (int i = 0; i < flips; ++i) {
            size_t at = random() % std::min<size_t>(file.size(), 200);
            file[at] = static_cast<uint8_t>(random());
        }
        if (round % 7 == 0) file.resize(random() % file.size());
        AudioLength length = Measure(file);
        if (length.IsSettled()) {
            ++settled;
            EXPECT_GT(length.rate, 0u);
        }
    }
    for (int round = 0; round < 200; ++round) {
        Bytes noise(random() % 70000);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(random());
        AudioLength length = Measure(noise);
        EXPECT_NE(LengthStatus::Settled, length.status) << "noise " << round;
    }
    EXPECT_GT(settled, 100); // the mangling left many files readable
}

TEST(WholeSeconds, TruncatesAndRefusesTheImpossible) {
    int32_t seconds = -1;
    EXPECT_EQ(0, WholeSeconds(44099, 44100, 1 << 20, &seconds));
    EXPECT_EQ(0, seconds);
    EXPECT_EQ(0, WholeSeconds(44100 * 61 + 44099, 44100, 1 << 20, &seconds));
    EXPECT_EQ(61, seconds);
    EXPECT_EQ(ToCode(PlayTimeError::NoSound), WholeSeconds(0, 44100, 1 << 20, &seconds));
    EXPECT_EQ(0, seconds);
    EXPECT_EQ(ToCode(PlayTimeError::TooLong), WholeSeconds(~0ull, 48000, ~0ull, &seconds));
    EXPECT_EQ(0, seconds);
    // A ten-kilobyte file cannot play for a day.
    EXPECT_EQ(ToCode(PlayTimeError::TooLong),
              WholeSeconds(48000ull * 86400, 48000, 10240, &seconds));
    EXPECT_EQ(ToCode(PlayTimeError::Damaged), WholeSeconds(100, 0, 1000, &seconds));
}

TEST(PlayTimeErrors, EveryCodeHasItsOwnSentence) {
    std::vector<std::wstring> texts;
    for (int32_t code = 101; code <= 107; ++code) {
        std::wstring text = PlayTimeErrorText(code);
        EXPECT_EQ(L'.', text.back()) << code;
        EXPECT_EQ(std::wstring::npos, text.find(L"code")) << code;
        for (const std::wstring& other : texts)
            EXPECT_NE(other, text);
        texts.push_back(text);
    }
    EXPECT_NE(std::wstring::npos, PlayTimeErrorText(150).find(L"150"));
}

} // namespace
