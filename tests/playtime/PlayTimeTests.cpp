// The real engine's GetPlayTime, and the header readers behind it, on files
// ffmpeg made at test time (make-fixtures.py, which lists what ffmpeg
// decodes of each): every file lasts the whole seconds ffmpeg decodes,
// every broken one gives 0 seconds and a sentence, and no hostile file
// takes long or crashes.
#include "../burn-engine/EngineHarness.h"
#include "burner/playtime/FileSource.h"
#include "burner/playtime/PlayTime.h"

#include <fstream>
#include <random>
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
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

// What the readers ask of a file.
class CountingSource : public FileSource {
public:
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        size_t read = FileSource::ReadAt(offset, buffer, count);
        m_read += read;
        return read;
    }
    uint64_t m_read = 0;
};

class PlayTimeOfFiles : public BurnEngine {
protected:
    static void SetUpTestSuite() {
        // The folder as Windows sees it: Wine maps the Unix root to Z:.
        const char* folder = std::getenv("QUILLOTUNE_PLAYTIME_FIXTURES");
        std::string unixFolder = folder ? folder : "";
        s_folder = L"Z:" + Widen(unixFolder) + L"/";
        for (wchar_t& c : s_folder)
            if (c == L'/') c = L'\\';
        std::ifstream manifest(unixFolder + "/manifest.tsv");
        Expected e;
        while (std::getline(manifest, e.name, '\t') &&
               manifest >> e.frames >> e.rate >> e.seconds) {
            s_files.push_back(e);
            manifest.ignore(1);
        }
    }

    void SetUp() override {
        BurnEngine::SetUp();
        ASSERT_GT(s_files.size(), 50u) << "no manifest in QUILLOTUNE_PLAYTIME_FIXTURES";
    }

    int32_t PlayTime(const std::wstring& name, int32_t* seconds) {
        *seconds = 77;
        return Api().GetPlayTime((s_folder + name).c_str(), seconds);
    }

    static std::wstring s_folder;
    static std::vector<Expected> s_files;
};

std::wstring PlayTimeOfFiles::s_folder;
std::vector<Expected> PlayTimeOfFiles::s_files;

// WAV in every rate, depth and layout, MP3 with and without headers and
// tags, Ogg Vorbis and Opus, WMA, and formats left to Media Foundation; those
// the engine reads itself while another program holds them open for writing.
TEST_F(PlayTimeOfFiles, EveryFileLastsTheWholeSecondsFfmpegDecodes) {
    int checked = 0;
    for (const Expected& e : s_files) {
        if (e.frames == 0) continue;
        std::wstring path = s_folder + Widen(e.name);
        bool ours = e.name.rfind("other_", 0) != 0; // not left to Media Foundation
        HANDLE writer =
            ours ? CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr)
                 : INVALID_HANDLE_VALUE;
        int32_t seconds = 0;
        EXPECT_EQ(0, PlayTime(Widen(e.name), &seconds)) << e.name;
        EXPECT_EQ(e.seconds, seconds) << e.name << " (ffmpeg decodes " << e.frames << " frames)";
        // Finer than whole seconds: the header readers count exactly the
        // frames ffmpeg decodes, at its rate.
        FileSource file;
        if (ours && file.Open(path.c_str())) {
            AudioLength length = MeasureLength(file);
            EXPECT_TRUE(length.IsSettled() && e.frames == length.frames && e.rate == length.rate)
                << e.name << ": " << length.frames << " frames at " << length.rate;
            ++checked;
        }
        EXPECT_TRUE(!ours || CloseHandle(writer)) << e.name;
    }
    EXPECT_GE(checked, 45);
}

TEST_F(PlayTimeOfFiles, AUnicodePath) {
    int32_t seconds = 0;
    EXPECT_EQ(0, PlayTime(L"\u00DCn\u00EFc\u00F8d\u00E9 \u65E5\u672C.wav", &seconds));
    EXPECT_EQ(9, seconds);
}

// Quickly, too: the readers look at little even of a file of several gigabytes.
TEST_F(PlayTimeOfFiles, BrokenFilesGiveNoTimeAndSaySo) {
    int checked = 0;
    for (const Expected& e : s_files) {
        if (e.frames != 0) continue;
        int32_t seconds = 0;
        int32_t code = PlayTime(Widen(e.name), &seconds);
        EXPECT_EQ(0, seconds) << e.name;
        EXPECT_TRUE(code >= 100 && code <= 199) << e.name << ": " << code;
        EXPECT_EQ(std::wstring::npos, TextOf(code).find(L"unknown")) << e.name;
        CountingSource file;
        if (file.Open((s_folder + Widen(e.name)).c_str()) && ++checked) {
            MeasureLength(file);
            EXPECT_LT(file.m_read, 8u << 20) << e.name;
        }
    }
    EXPECT_GE(checked, 12);
    // Named for what they are.
    const std::pair<std::wstring, std::wstring> named[] = {
        {L"no such file.mp3", L"could not be opened"},
        {L"", L"could not be opened"}, // the folder
        {L"broken_empty.wav", L"empty"},
        {L"broken_text_renamed.mp3", L"not an audio file"}};
    int32_t seconds = 0;
    for (const auto& n : named)
        EXPECT_NE(std::wstring::npos, TextOf(PlayTime(n.first, &seconds)).find(n.second));
    EXPECT_NE(0, Api().GetPlayTime(L"", &seconds));
    EXPECT_NE(0, Api().GetPlayTime(nullptr, nullptr));
    EXPECT_NE(0, Api().GetPlayTime(nullptr, &seconds));
    EXPECT_EQ(0, seconds);
    EXPECT_NE(0, Api().GetPlayTime((s_folder + L"wav_8000_u8_mono.wav").c_str(), nullptr));
}

// Headers mangled at random and noise: nothing crashes, no noise is sound.
TEST_F(PlayTimeOfFiles, MangledAndRandomFilesAreNeverMeasuredAsNonsense) {
    std::mt19937 random(2024);
    int settled = 0;
    for (const wchar_t* name :
         {L"wav_48000_s24_6ch_extensible.wav", L"wav_rf64.wav", L"mp3_id3v24_footer.mp3",
          L"opus_from_16000_mono.opus", L"wma1_22050_mono.wma"}) {
        FileSource file;
        ASSERT_TRUE(file.Open((s_folder + name).c_str()));
        for (int round = 0; round < 600; ++round) {
            std::vector<uint8_t> bytes = file.Window(0, 65536);
            for (int flips = 1 + random() % 8; flips > 0; --flips)
                bytes[random() % 400] = static_cast<uint8_t>(random());
            bytes.resize(round % 7 ? bytes.size() : random() % bytes.size());
            MemorySource source(bytes);
            AudioLength length = MeasureLength(source);
            settled += length.IsSettled();
            EXPECT_TRUE(!length.IsSettled() || length.rate > 0) << "round " << round;
        }
    }
    EXPECT_GT(settled, 100); // the mangling left many files readable
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> noise(random() % 70000);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(random());
        MemorySource source(noise);
        EXPECT_FALSE(MeasureLength(source).IsSettled()) << "noise " << round;
    }
}

} // namespace
