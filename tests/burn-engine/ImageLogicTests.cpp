// The image's arithmetic, CUE sheet, file names and byte layout, without
// any file system.
#include "burner/image/CdLayout.h"
#include "burner/image/CueSheet.h"
#include "burner/image/ImageNaming.h"
#include "burner/image/ImageWriter.h"
#include "burner/run/FileManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

TEST(CdLayout, TracksTakeWholeSectorsAndAtLeastFourSeconds) {
    EXPECT_EQ(300, cd::TrackSectors(0));
    EXPECT_EQ(300, cd::TrackSectors(2 * 44100));
    EXPECT_EQ(300, cd::TrackSectors(300 * 588));
    EXPECT_EQ(301, cd::TrackSectors(300 * 588 + 1));
    EXPECT_EQ(548, cd::TrackSectors(321930)); // 7.3 s
    EXPECT_EQ(300 * 588 - 1, cd::PaddingFrames(1));
    EXPECT_EQ(0, cd::PaddingFrames(301 * 588));
    EXPECT_EQ(587, cd::PaddingFrames(400 * 588 + 1));
    EXPECT_EQ(44100, cd::FramesForDuration(10000000));
    EXPECT_EQ(1, cd::FramesForDuration(1)); // a started frame counts
    EXPECT_EQ(0, cd::FramesForDuration(0));
    // 74 minutes of frames never overflow the arithmetic.
    EXPECT_EQ(int64_t{74} * 60 * 44100, cd::FramesForDuration(int64_t{74} * 60 * 10000000));
}

TEST(CdLayout, DiscPositionsReadAsMinutesSecondsFrames) {
    EXPECT_EQ(359849, cd::kDiscSectors80);
    EXPECT_EQ("79:59:74", cd::Msf(cd::kDiscSectors80 + cd::kPregapSectors));
    EXPECT_EQ("00:00:00", cd::Msf(0));
    EXPECT_EQ("01:00:01", cd::Msf(75 * 60 + 1));
    EXPECT_EQ("100:00:00", cd::Msf(int64_t{100} * 60 * 75));
    EXPECT_EQ("79:57", cd::MinutesSeconds(cd::kDiscSectors80));
    EXPECT_EQ((std::vector<int64_t>{0, 300, 848}), cd::TrackStarts({300, 548, 1000}));
}

TEST(CueSheet, ListsEveryTrackAtTheSumOfTheSectorsBeforeIt) {
    std::string sheet = BuildCueSheet("HOLIDAY", "HOLIDAY.bin", {300, 548, 1000});
    EXPECT_EQ("TITLE \"HOLIDAY\"\r\n"
              "FILE \"HOLIDAY.bin\" BINARY\r\n"
              "  TRACK 01 AUDIO\r\n"
              "    INDEX 01 00:00:00\r\n"
              "  TRACK 02 AUDIO\r\n"
              "    INDEX 01 00:04:00\r\n"
              "  TRACK 03 AUDIO\r\n"
              "    INDEX 01 00:11:23\r\n",
              sheet);
    // No title, no TITLE line; 99 tracks numbered with two digits.
    std::string many = BuildCueSheet("", "x.bin", std::vector<int64_t>(99, 300));
    EXPECT_EQ(0u, many.find("FILE"));
    EXPECT_NE(std::string::npos, many.find("  TRACK 99 AUDIO\r\n    INDEX 01 06:32:00\r\n"));
}

TEST(CueSheet, TitlesCannotBreakTheirQuotes) {
    EXPECT_EQ("Say 'hi' now", CueTitle("Say \"hi\"\tnow"));
    std::string longTitle(79, 'a');
    longTitle += "\xC3\xA9"; // é in UTF-8, crossing the 80-byte limit
    EXPECT_EQ(std::string(79, 'a'), CueTitle(longTitle));
    EXPECT_EQ(80u, CueTitle(std::string(200, 'b')).size());
}

TEST(ImageNaming, LabelsBecomeSafeFileNames) {
    EXPECT_EQ(L"Holiday 2024", SafeFileName(L"Holiday 2024"));
    EXPECT_EQ(L"a_b_c_d_e_f_g_h_i", SafeFileName(L"a<b>c:d\"e/f\\g|h?i"));
    EXPECT_EQ(L"x_y", SafeFileName(L"x*y"));
    EXPECT_EQ(L"tab_in", SafeFileName(L"tab\tin"));
    EXPECT_EQ(L"Mix", SafeFileName(L"  Mix. . "));
    EXPECT_EQ(L"Audio CD", SafeFileName(L""));
    EXPECT_EQ(L"Audio CD", SafeFileName(L" ... "));
    EXPECT_EQ(L"_CON", SafeFileName(L"CON"));
    EXPECT_EQ(L"_nul.txt", SafeFileName(L"nul.txt"));
    EXPECT_EQ(L"_com1", SafeFileName(L"com1"));
    EXPECT_EQ(L"COM10", SafeFileName(L"COM10"));
    EXPECT_EQ(L"CONCERT", SafeFileName(L"CONCERT"));
    EXPECT_EQ(L"Caf\u00e9 \u65e5\u672c", SafeFileName(L"Caf\u00e9 \u65e5\u672c"));
    std::wstring longName = SafeFileName(std::wstring(63, L'a') + L"\U0001F3B5 tail");
    EXPECT_EQ(std::wstring(63, L'a'), longName); // never half a surrogate pair
    EXPECT_EQ(64u, SafeFileName(std::wstring(300, L'z')).size());
}

TEST(ImageNaming, TakenNamesGetTheNextNumber) {
    std::set<std::wstring> taken;
    auto isTaken = [&](const std::wstring& name) { return taken.count(name) > 0; };
    EXPECT_EQ(L"Mix", FirstFreeName(L"Mix", isTaken));
    taken = {L"Mix", L"Mix (2)", L"Mix (4)"};
    EXPECT_EQ(L"Mix (3)", FirstFreeName(L"Mix", isTaken));
    EXPECT_EQ(L"", FirstFreeName(L"Mix", [](const std::wstring&) { return true; }));
}

class MemorySink : public ByteSink {
public:
    explicit MemorySink(size_t room = SIZE_MAX) : m_room(room) {}
    bool Write(const void* data, size_t bytes) override {
        if (m_bytes.size() + bytes > m_room) return false;
        const char* source = static_cast<const char*>(data);
        m_bytes.insert(m_bytes.end(), source, source + bytes);
        return true;
    }
    std::wstring Error() const override { return L"the disk is full."; }
    std::vector<char> m_bytes;
    size_t m_room;
};

TEST(ImageWriter, PadsEachTrackWithSilenceToItsSectors) {
    MemorySink sink;
    ImageWriter writer(sink);
    std::vector<int16_t> first(100 * 2, 0x1234);
    std::vector<int16_t> second((301 * 588) * 2);
    for (size_t i = 0; i < second.size(); ++i)
        second[i] = static_cast<int16_t>(i * 7 + 1);
    ASSERT_TRUE(writer.WriteFrames(first.data(), 100));
    ASSERT_TRUE(writer.EndTrack());
    ASSERT_TRUE(writer.WriteFrames(second.data(), 1000));
    ASSERT_TRUE(writer.WriteFrames(second.data() + 2000, 301 * 588 - 1000));
    ASSERT_TRUE(writer.EndTrack());

    EXPECT_EQ((std::vector<int64_t>{300, 301}), writer.TrackSectors());
    ASSERT_EQ(601u * 2352, sink.m_bytes.size());
    EXPECT_EQ(601u * 2352, writer.BytesWritten());
    // The samples little-endian as they came, then zeros to the sector's end.
    EXPECT_EQ(0x34, static_cast<unsigned char>(sink.m_bytes[0]));
    EXPECT_EQ(0x12, static_cast<unsigned char>(sink.m_bytes[1]));
    EXPECT_EQ(0x34, static_cast<unsigned char>(sink.m_bytes[398]));
    for (size_t i = 400; i < 300 * 2352; ++i)
        ASSERT_EQ(0, sink.m_bytes[i]) << i;
    EXPECT_EQ(0, std::memcmp(sink.m_bytes.data() + 300 * 2352, second.data(), second.size() * 2));
}

TEST(ImageWriter, AWriteThatFailsIsReported) {
    MemorySink sink(5000);
    ImageWriter writer(sink);
    std::vector<int16_t> frames(1000 * 2);
    EXPECT_TRUE(writer.WriteFrames(frames.data(), 1000));
    EXPECT_FALSE(writer.WriteFrames(frames.data(), 1000));
    EXPECT_EQ(4000u, writer.BytesWritten());
    EXPECT_FALSE(writer.EndTrack()); // the padding does not fit either
    EXPECT_TRUE(writer.TrackSectors().empty());
}

TEST(FileManager, SelectsTheImageInExplorerByItsFullPath) {
    EXPECT_EQ(L"\"C:\\windows\\explorer.exe\" /select,\"D:\\Images\\My Mix.cue\"",
              FileManagerCommandLine(L"C:\\windows", L"D:\\Images\\My Mix.cue"));
    EXPECT_EQ(L"\"C:\\windows\\explorer.exe\" /select,\"x.cue\"",
              FileManagerCommandLine(L"C:\\windows\\", L"x.cue"));
}

} // namespace

#include "burner/run/AsfCheck.h"

namespace {

TEST(AsfCheck, FindsWindowsMediaFilesCutShort) {
    uint8_t head[30] = {
        0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6,
        0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C, 0xEE, 0x01}; // header object of 494 bytes
    uint8_t data[24] = {
        0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6,
        0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C, 0xB2, 0xD4}; // data object of 54,450 bytes
    EXPECT_FALSE(AsfIsCutShort(head, 30, data, 24, 494 + 54450));
    EXPECT_FALSE(AsfIsCutShort(head, 30, data, 24, 494 + 60000)); // more after the data is fine
    EXPECT_TRUE(AsfIsCutShort(head, 30, data, 24, 494 + 54449));
    EXPECT_TRUE(AsfIsCutShort(head, 30, data, 10, 500));   // ends inside the data object's header
    EXPECT_TRUE(AsfIsCutShort(head, 30, nullptr, 0, 300)); // ends inside the header object
    data[0] = 0x37;
    EXPECT_TRUE(AsfIsCutShort(head, 30, data, 24, 494 + 54450)); // no data object after the header
    head[0] = 'R';
    EXPECT_FALSE(AsfIsCutShort(head, 30, data, 24, 100)); // not ASF at all
}

} // namespace

#include "burner/image/TempFiles.h"

namespace {

TEST(TempFiles, OnlyOurTemporaryNamesCarryAnOwner) {
    EXPECT_EQ(1234u, TempFileOwner(L"qtn-1234-5.tmp"));
    EXPECT_EQ(4000000000u, TempFileOwner(L"qtn-4000000000-17.tmp"));
    EXPECT_EQ(0u, TempFileOwner(L"qtn-1234-5.tmp.bak"));
    EXPECT_EQ(0u, TempFileOwner(L"qtnAB12.tmp"));
    EXPECT_EQ(0u, TempFileOwner(L"qtn-12-x.tmp"));
    EXPECT_EQ(0u, TempFileOwner(L"Mix.bin"));
}

} // namespace
