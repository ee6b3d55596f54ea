// The real engine's GetPlayTime on files made by ffmpeg at test time: every
// file must give the whole seconds ffmpeg's own decoding of it lasts, and
// every broken one 0 seconds and a sentence.
#include "burner/playtime/FileSource.h"
#include "burner/playtime/MediaFoundationLength.h"
#include "burner/playtime/PlayTime.h"
#include "engine/EngineBinding.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Expected {
    std::string name; // UTF-8
    uint64_t frames = 0;
    uint32_t rate = 0;
    int32_t seconds = 0;
};

std::wstring Widen(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], n);
    return wide;
}

std::string ReadFile(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, n);
    fclose(file);
    return bytes;
}

// The fixture folder as Windows sees it (Wine maps the Unix root to Z:).
std::wstring FixtureFolder() {
    wchar_t value[1024];
    DWORD n = GetEnvironmentVariableW(L"QUILLOTUNE_PLAYTIME_FIXTURES", value, 1024);
    if (n == 0 || n >= 1024) return L"";
    std::wstring folder(value, n);
    if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder;
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    return folder + L"\\";
}

class PlayTimeOfFiles : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = FixtureFolder();
        std::istringstream manifest(ReadFile(s_folder + L"manifest.tsv"));
        std::string line;
        while (std::getline(manifest, line)) {
            std::istringstream fields(line);
            Expected e;
            std::getline(fields, e.name, '\t');
            fields >> e.frames >> e.rate >> e.seconds;
            s_expected.push_back(e);
        }
    }

    void SetUp() override {
        ASSERT_FALSE(s_expected.empty()) << "no manifest in the folder named by "
                                            "QUILLOTUNE_PLAYTIME_FIXTURES";
        ASSERT_TRUE(m_engine.Load(ProgramFolder() + L"DodIvadorO.dll"));
    }

    int32_t PlayTime(const std::wstring& path, int32_t* seconds) {
        *seconds = 0;
        return m_engine.Api().GetPlayTime(path.c_str(), seconds);
    }

    std::wstring Text(int32_t code) {
        wchar_t buffer[kTextCapacity];
        int32_t capacity = kTextCapacity;
        m_engine.Api().GetText(code, buffer, &capacity);
        return buffer;
    }

    // Checks every decodable file whose name starts with one of the prefixes.
    void CheckReadable(std::initializer_list<const char*> prefixes) {
        int checked = 0;
        for (const Expected& e : s_expected) {
            bool wanted = false;
            for (const char* prefix : prefixes)
                wanted |= e.name.rfind(prefix, 0) == 0;
            if (!wanted || e.frames == 0) continue;
            int32_t seconds = -1;
            int32_t code = PlayTime(s_folder + Widen(e.name), &seconds);
            EXPECT_EQ(0, code) << e.name;
            EXPECT_EQ(e.seconds, seconds)
                << e.name << " (ffmpeg decodes " << e.frames << " frames)";
            ++checked;
        }
        EXPECT_GE(checked, 2) << "fixtures missing";
    }

    static std::wstring s_folder;
    static std::vector<Expected> s_expected;
    EngineLibrary m_engine;
};

std::wstring PlayTimeOfFiles::s_folder;
std::vector<Expected> PlayTimeOfFiles::s_expected;

TEST_F(PlayTimeOfFiles, WavInEveryRateDepthAndLayout) {
    CheckReadable({"wav_"});
}
TEST_F(PlayTimeOfFiles, Mp3WithAndWithoutHeadersAndTags) {
    CheckReadable({"mp3_", "mp2_"});
}
TEST_F(PlayTimeOfFiles, OggVorbisAndOpus) {
    CheckReadable({"vorbis_", "opus_"});
}
TEST_F(PlayTimeOfFiles, Wma) {
    CheckReadable({"wma"});
}
TEST_F(PlayTimeOfFiles, OtherFormatsThroughMediaFoundation) {
    CheckReadable({"other_"});
}

// Finer than whole seconds: the header readers themselves, on every file
// of a format they know, count exactly the frames ffmpeg decodes.
TEST_F(PlayTimeOfFiles, HeaderReadersCountExactlyTheFramesFfmpegDecodes) {
    int checked = 0;
    for (const Expected& e : s_expected) {
        if (e.frames == 0 || e.name.rfind("other_", 0) == 0) continue;
        FileSource file;
        ASSERT_TRUE(file.Open((s_folder + Widen(e.name)).c_str())) << e.name;
        AudioLength length = MeasureLength(file);
        ASSERT_TRUE(length.IsSettled()) << e.name;
        EXPECT_EQ(e.frames, length.frames) << e.name;
        EXPECT_EQ(e.rate, length.rate) << e.name;
        ++checked;
    }
    EXPECT_GE(checked, 40);
}

// Media Foundation under Wine never answers for this file; the question must
// come back all the same, without a length.
TEST_F(PlayTimeOfFiles, AMediaFoundationQueryThatHangsIsGivenUp) {
    std::wstring path = s_folder + L"broken_truncated_wma.wma";
    MediaFoundationLength length = MeasureWithMediaFoundation(path.c_str(), 1500);
    EXPECT_NE(MediaFoundationOutcome::Measured, length.outcome);
    // A quick answer is still given in full.
    std::wstring flac = s_folder + L"other_flac.flac";
    MediaFoundationLength measured = MeasureWithMediaFoundation(flac.c_str(), 20000);
    ASSERT_EQ(MediaFoundationOutcome::Measured, measured.outcome);
    EXPECT_EQ(6u, measured.duration / 10000000);
}

TEST_F(PlayTimeOfFiles, AUnicodePath) {
    int32_t seconds = 0;
    EXPECT_EQ(0, PlayTime(s_folder + L"\u00DCn\u00EFc\u00F8d\u00E9 \u65E5\u672C.wav", &seconds));
    EXPECT_EQ(9, seconds);
}

TEST_F(PlayTimeOfFiles, BrokenFilesGiveNoTimeAndSaySo) {
    int checked = 0;
    for (const Expected& e : s_expected) {
        if (e.frames != 0) continue;
        int32_t seconds = 77;
        int32_t code = m_engine.Api().GetPlayTime((s_folder + Widen(e.name)).c_str(), &seconds);
        EXPECT_EQ(0, seconds) << e.name;
        EXPECT_GE(code, 100) << e.name;
        EXPECT_LE(code, 199) << e.name;
        std::wstring text = Text(code);
        EXPECT_EQ(std::wstring::npos, text.find(L"unknown")) << e.name;
        ++checked;
    }
    EXPECT_GE(checked, 10);
}

TEST_F(PlayTimeOfFiles, ASoundShorterThanASecondIsMeasuredAsNoWholeSecond) {
    int32_t seconds = -1;
    EXPECT_EQ(0, PlayTime(s_folder + L"wav_shorter_than_a_second.wav", &seconds));
    EXPECT_EQ(0, seconds);
}

TEST_F(PlayTimeOfFiles, MissingEmptyAndFolderPathsAreNamedForWhatTheyAre) {
    int32_t seconds = 0;
    std::wstring missing = Text(PlayTime(s_folder + L"no such file.mp3", &seconds));
    EXPECT_NE(std::wstring::npos, missing.find(L"could not be opened")) << missing;
    EXPECT_NE(std::wstring::npos, Text(PlayTime(s_folder, &seconds)).find(L"could not be opened"));
    EXPECT_NE(std::wstring::npos, Text(PlayTime(L"", &seconds)).find(L"could not be opened"));
    EXPECT_NE(std::wstring::npos,
              Text(PlayTime(s_folder + L"broken_empty.wav", &seconds)).find(L"empty"));
    std::wstring text = Text(PlayTime(s_folder + L"broken_text_renamed.mp3", &seconds));
    EXPECT_NE(std::wstring::npos, text.find(L"not an audio file")) << text;
}

TEST_F(PlayTimeOfFiles, NullArgumentsAreRefusedWithoutHarm) {
    EXPECT_NE(0, m_engine.Api().GetPlayTime(nullptr, nullptr));
    int32_t seconds = 5;
    EXPECT_NE(0, m_engine.Api().GetPlayTime(nullptr, &seconds));
    EXPECT_EQ(0, seconds);
    EXPECT_NE(0, m_engine.Api().GetPlayTime((s_folder + L"wav_8000_u8_mono.wav").c_str(), nullptr));
}

TEST_F(PlayTimeOfFiles, AFileOpenForWritingElsewhereIsStillMeasured) {
    std::wstring path = s_folder + L"vorbis_44100_stereo.ogg";
    HANDLE writer =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    int32_t seconds = 0;
    EXPECT_EQ(0, PlayTime(path, &seconds));
    EXPECT_EQ(8, seconds);
    CloseHandle(writer);
}

} // namespace
