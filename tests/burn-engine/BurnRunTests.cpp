// Whole burns through the real engine: the image, its names and the events.
// verify-images.py then reads the images with independent tools.
#include "EngineHarness.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

int64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadAll(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// INDEX 01 positions in sectors, in track order.
std::vector<int64_t> CueStarts(const std::string& cue) {
    std::vector<int64_t> starts;
    std::istringstream lines(cue);
    std::string line;
    while (std::getline(lines, line)) {
        int m = 0, s = 0, f = 0;
        if (std::sscanf(line.c_str(), " INDEX 01 %d:%d:%d", &m, &s, &f) == 3)
            starts.push_back((m * 60 + s) * 75 + f);
    }
    return starts;
}

std::vector<RecordedEvent> OfKind(const std::vector<RecordedEvent>& events,
                                  RecordedEvent::Kind kind) {
    std::vector<RecordedEvent> found;
    for (const RecordedEvent& event : events)
        if (event.kind == kind) found.push_back(event);
    return found;
}

TEST_F(BurnEngine, BurnsAMixedListWithItsEventsInOrder) {
    std::wstring folder = FreshFolder(L"mixed");
    SetImageOptions("Mixed Bag", folder);
    const std::vector<std::wstring> tracks = {Media(L"mixed-1.wav"), Media(L"mixed-2.mp3"),
                                              Media(L"mixed-3.ogg"), Media(L"short.wav")};
    for (const std::wstring& track : tracks)
        Add(track);
    ASSERT_EQ(0, Api().Prepare());
    DWORD mainThread = GetCurrentThreadId();
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForBurnDone(120));

    std::vector<RecordedEvent> events = m_log.Events();
    ASSERT_FALSE(events.empty());
    const RecordedEvent& last = events.back();
    EXPECT_EQ(RecordedEvent::BurnDone, last.kind);
    EXPECT_TRUE(last.nullText) << last.text;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(RecordedEvent::Finalize, events[events.size() - 2].kind);
    const RecordedEvent& final = events[events.size() - 3];
    EXPECT_EQ(RecordedEvent::Process, final.kind);
    EXPECT_EQ(100.0f, final.percent);

    // One decode-done per file, in list order, none with an error.
    std::vector<RecordedEvent> done = OfKind(events, RecordedEvent::DecodeDone);
    ASSERT_EQ(tracks.size(), done.size());
    for (size_t i = 0; i < tracks.size(); ++i) {
        EXPECT_EQ(0, done[i].error);
        EXPECT_NE(std::string::npos, done[i].text.find(i == 3 ? "short.wav" : "mixed-"));
    }
    // Progress only grows, stays below 100 until the end, and comes at most
    // every 100 ms: counted over the run, so a handler that a busy machine
    // delays cannot make two events look closer than they were raised.
    std::vector<RecordedEvent> process = OfKind(events, RecordedEvent::Process);
    for (size_t i = 1; i < process.size(); ++i) {
        EXPECT_GE(process[i].percent, process[i - 1].percent);
        EXPECT_GE(process[i].bytesWritten, process[i - 1].bytesWritten);
        if (i + 1 < process.size()) {
            EXPECT_LT(process[i].percent, 100.0f);
        }
    }
    double span = process.back().seconds - process.front().seconds;
    EXPECT_LE(process.size(), static_cast<size_t>(span / 0.1) + 2) << span << " s";
    for (const RecordedEvent& event : process) {
        EXPECT_GE(event.bufferFill, 0.0f);
        EXPECT_LE(event.bufferFill, 100.0f);
    }
    for (const RecordedEvent& event : events)
        EXPECT_NE(mainThread, event.thread);

    // Exactly the image: no temporary file is left.
    std::vector<std::wstring> files = FilesIn(folder);
    ASSERT_EQ(2u, files.size());
    std::string cue = ReadAll(folder + L"\\Mixed Bag.cue");
    int64_t binBytes = FileSize(folder + L"\\Mixed Bag.bin");
    ASSERT_GT(binBytes, 0);
    EXPECT_EQ(0, binBytes % 2352);
    EXPECT_NE(std::string::npos, cue.find("TITLE \"Mixed Bag\""));
    EXPECT_NE(std::string::npos, cue.find("FILE \"Mixed Bag.bin\" BINARY"));
    EXPECT_EQ(last.nullText ? process.back().bytesWritten : 0.0, static_cast<double>(binBytes));

    // Track positions: the WAV's 7.3 s are 321,930 frames = 548 sectors; the
    // last track, 2 s long, takes 4 s (300 sectors) at the end of the file.
    std::vector<int64_t> starts = CueStarts(cue);
    ASSERT_EQ(4u, starts.size());
    EXPECT_EQ(0, starts[0]);
    EXPECT_EQ(548, starts[1]);
    EXPECT_EQ(binBytes / 2352 - 300, starts[3]);
    for (size_t i = 1; i < starts.size(); ++i)
        EXPECT_GE(starts[i] - starts[i - 1], 300);

    // The run emptied the project.
    int32_t code = Api().Prepare();
    EXPECT_EQ(200, code);
}

TEST_F(BurnEngine, MixesMonoAndSurroundAndResamplesHighRates) {
    // The samples are checked by verify-images.py; here the run and its files.
    std::wstring folder = FreshFolder(L"channels");
    SetImageOptions("Channels", folder);
    Add(Media(L"mono.wav"));
    Add(Media(L"surround.wav"));
    Add(Media(L"hires.wav"));
    Add(Media(L"stereo.wma"));
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForBurnDone(120));
    EXPECT_TRUE(m_log.Events().back().nullText) << m_log.Events().back().text;
    std::vector<std::wstring> files = FilesIn(folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Channels.bin", L"Channels.cue"}), files);
}

TEST_F(BurnEngine, NamesImagesAfterTheLabelAndNeverOverwriteOne) {
    std::wstring folder = FreshFolder(L"names");
    // "Caf\xe9" is the label in the ANSI code page (1252); ':' '<' '>' '?' cannot be in a name.
    for (int run = 0; run < 2; ++run) {
        SetImageOptions("Caf\xe9: <Best>?", folder);
        Add(Media(L"\u00dcn\u00efc\u00f8d\u00e9 \u65e5\u672c.wav"));
        ASSERT_EQ(0, Api().Prepare());
        ASSERT_EQ(0, Api().Burn());
        ASSERT_TRUE(m_log.WaitForBurnDone(60));
        EXPECT_TRUE(m_log.Events().back().nullText) << m_log.Events().back().text;
        std::vector<RecordedEvent> done = OfKind(m_log.Events(), RecordedEvent::DecodeDone);
        ASSERT_FALSE(done.empty());
        EXPECT_NE(std::string::npos, done.back().text.find(".wav")); // the name in ANSI
        m_log.Clear();
    }
    std::vector<std::wstring> files = FilesIn(folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Caf\u00e9_ _Best__ (2).bin", L"Caf\u00e9_ _Best__ (2).cue",
                                   L"Caf\u00e9_ _Best__.bin", L"Caf\u00e9_ _Best__.cue"}),
        files);
    // The CUE sheets are UTF-8 and each names its own BIN file.
    std::string second = ReadAll(folder + L"\\Caf\u00e9_ _Best__ (2).cue");
    EXPECT_NE(std::string::npos, second.find("TITLE \"Caf\xc3\xa9: <Best>?\""));
    EXPECT_NE(std::string::npos, second.find("FILE \"Caf\xc3\xa9_ _Best__ (2).bin\" BINARY"));
    EXPECT_EQ(FileSize(folder + L"\\Caf\u00e9_ _Best__.bin"),
              FileSize(folder + L"\\Caf\u00e9_ _Best__ (2).bin"));
}

TEST_F(BurnEngine, WithoutAFolderImagesGoWhereTheEnvironmentOrTheMusicFolderSays) {
    std::wstring environment = FreshFolder(L"environment");
    SetImageOptions("Elsewhere", L"");
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", environment.c_str()));
    Add(Media(L"short.wav"));
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForBurnDone(60));
    EXPECT_EQ(2u, FilesIn(environment).size());

    // Without either: "Quillotune" in the user's Music folder, created.
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", nullptr));
    wchar_t* music = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Music, KF_FLAG_CREATE, nullptr, &music)));
    std::wstring folder = std::wstring(music) + L"\\Quillotune";
    CoTaskMemFree(music);
    for (const std::wstring& file : FilesIn(folder))
        DeleteFileW((folder + L"\\" + file).c_str());
    RemoveDirectoryW(folder.c_str());
    m_log.Clear();
    SetImageOptions("In Music", L"");
    Add(Media(L"short.wav"));
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForBurnDone(60));
    EXPECT_TRUE(m_log.Events().back().nullText) << m_log.Events().back().text;
    EXPECT_NE(-1, FileSize(folder + L"\\In Music.bin"));
    EXPECT_NE(-1, FileSize(folder + L"\\In Music.cue"));
    for (const std::wstring& file : FilesIn(folder))
        DeleteFileW((folder + L"\\" + file).c_str());
    RemoveDirectoryW(folder.c_str());
}

} // namespace
