// Whole burns through the real engine: the image, its names, its events, and
// what is refused or left behind when a run cannot finish. verify-images.py
// then reads the images with independent tools.
#include "EngineHarness.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

using Event = RecordedEvent;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The engine's file operations as the hooks below see them, in order. The
// call named by g_failing ("FlushFileBuffers#2": the second flush) fails as
// on a full disk; at the one named by g_abortAt the run is stopped first.
std::vector<std::string> g_calls;
std::string g_failing, g_abortAt, g_commandLine;

bool Fails(const std::string& function) {
    g_calls.push_back(function);
    int n = static_cast<int>(std::count(g_calls.begin(), g_calls.end(), function));
    if (function + "#" + std::to_string(n) == g_abortAt)
        reinterpret_cast<AbortFn>(GetProcAddress(EngineModule(), "Abort"))();
    if (function + "#" + std::to_string(n) != g_failing) return false;
    SetLastError(ERROR_DISK_FULL);
    return true;
}

BOOL WINAPI HookWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED o) {
    return !Fails("WriteFile") && WriteFile(file, data, size, written, o);
}
BOOL WINAPI HookFlush(HANDLE file) {
    return !Fails("FlushFileBuffers") && FlushFileBuffers(file);
}
BOOL WINAPI HookMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
    return !Fails("MoveFileExW") && MoveFileExW(from, to, flags);
}
// Records the file manager's command line instead of starting it.
BOOL WINAPI HookCreateProcess(LPCWSTR, LPWSTR line, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                              BOOL, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION) {
    g_commandLine = Narrow(line);
    Fails("CreateProcessW");
    return FALSE;
}

class HookedBurn : public BurnEngine {
protected:
    void Reset(const char* failing, const char* abortAt = "") {
        ClearEvents();
        g_calls.clear();
        g_failing = failing;
        g_abortAt = abortAt;
    }
    ImportPatch m_patches[4] = {{EngineModule(), "WriteFile", &HookWrite},
                                {EngineModule(), "FlushFileBuffers", &HookFlush},
                                {EngineModule(), "MoveFileExW", &HookMove},
                                {EngineModule(), "CreateProcessW", &HookCreateProcess}};
};

TEST_F(HookedBurn, BurnsAMixedListWithItsEventsInOrder) {
    Reset("");
    std::wstring folder = FreshFolder(L"mixed");
    SetImageOptions("Mixed Bag", folder);
    // Every kind of file and layout; verify-images.py compares the samples.
    const std::vector<std::string> names = {"mixed-1.wav", "mixed-2.mp3", "mixed-3.ogg",
                                            "short.wav",   "mono.wav",    "surround.wav",
                                            "hires.wav",   "stereo.wma",  "loud.wav"};
    for (const std::string& name : names)
        Add(Media(std::wstring(name.begin(), name.end())));
    ASSERT_EQ("", BurnToTheEnd());

    // Progress at 100 %, finalize, burn-done, in that order, all from the run's threads.
    std::vector<Event> events = Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(Event::BurnDone, events.back().kind);
    EXPECT_EQ(Event::Finalize, events[events.size() - 2].kind);
    EXPECT_EQ(Event::Process, events[events.size() - 3].kind);
    EXPECT_EQ(100.0f, events[events.size() - 3].percent);
    for (const Event& event : events)
        EXPECT_NE(GetCurrentThreadId(), event.thread);
    // One decode-done per file, in list order, none with an error; decoder
    // progress reaches 100 % once per track.
    std::vector<Event> done = Events(Event::DecodeDone);
    ASSERT_EQ(names.size(), done.size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(Contains(done[i].text, names[i]) && done[i].error == 0) << done[i].text;
    auto full = [](const Event& e) { return e.kind == Event::Decoder && e.percent == 100.0f; };
    EXPECT_EQ(names.size(), static_cast<size_t>(std::count_if(events.begin(), events.end(), full)));
    // Progress only grows, says 100 % once, at the end, and comes at most
    // every 100 ms: counted over the run, so that a handler a busy machine
    // delays cannot make two events look closer than they were raised.
    std::vector<Event> process = Events(Event::Process);
    for (size_t i = 1; i < process.size(); ++i) {
        EXPECT_GE(process[i].percent, process[i - 1].percent);
        EXPECT_GE(process[i].bytesWritten, process[i - 1].bytesWritten);
        EXPECT_LT(process[i - 1].percent, 100.0f);
    }
    EXPECT_LE(process.size(), (process.back().ms - process.front().ms) / 100 + 2);
    for (const Event& event : process)
        EXPECT_TRUE(event.bufferFill >= 0.0f && event.bufferFill <= 100.0f) << event.bufferFill;

    // Exactly the image, no temporary file; all it says it wrote. The BIN is
    // flushed after its last write and the CUE sheet after its own, before
    // either takes its final name.
    EXPECT_EQ((std::vector<std::wstring>{L"Mixed Bag.bin", L"Mixed Bag.cue"}), FilesIn(folder));
    EXPECT_EQ(process.back().bytesWritten, ReadAll(folder + L"\\Mixed Bag.bin").size());
    ASSERT_GE(g_calls.size(), 5u);
    EXPECT_EQ((std::vector<std::string>{"FlushFileBuffers", "WriteFile", "FlushFileBuffers",
                                        "MoveFileExW", "MoveFileExW"}),
              std::vector<std::string>(g_calls.end() - 5, g_calls.end()));
    EXPECT_EQ(0u, ReadAll(folder + L"\\Mixed Bag.cue")
                      .find("TITLE \"Mixed Bag\"\r\nFILE \"Mixed Bag.bin\" BINARY\r\n"));
    EXPECT_EQ(200, Api().Prepare()); // the run emptied the project
}

// Every codec burns, chosen by content (an MP3 named .wav included), with
// the play time its headers or its decoder give; verify-images.py compares
// the samples with ffmpeg's decoding. Three MP3s cut from one tone burn
// into tracks that join without a gap.
TEST_F(BurnEngine, BurnsEveryCodecByItsContentAndMp3sGaplessly) {
    std::vector<std::wstring> names;
    std::istringstream list(ReadAll(Media(L"codecs.txt")));
    for (std::string line; std::getline(list, line);)
        if (!line.empty()) names.push_back(L"codecs\\" + std::wstring(line.begin(), line.end()));
    ASSERT_GE(names.size(), 20u);
    std::wstring folder = FreshFolder(L"codecs");
    SetImageOptions("Codecs", folder);
    for (const std::wstring& name : names) {
        int32_t seconds = 0;
        EXPECT_EQ(0, Api().GetPlayTime(Media(name).c_str(), &seconds)) << Narrow(name);
        // 3.5 s each, but 3 s for the surround file and 6.5 s for the two
        // files the platform's decoder refused.
        int32_t expected = name.find(L"surround") != std::wstring::npos ? 3
                           : name.find(L"-22k") != std::wstring::npos ||
                                   name.find(L"odd-8bit") != std::wstring::npos
                               ? 6
                               : 3;
        EXPECT_EQ(expected, seconds) << Narrow(name);
        Add(Media(name));
    }
    ASSERT_EQ("", BurnToTheEnd());
    for (const Event& done : Events(Event::DecodeDone))
        EXPECT_EQ(0, done.error) << done.text;
    EXPECT_EQ((std::vector<std::wstring>{L"Codecs.bin", L"Codecs.cue"}), FilesIn(folder));

    ClearEvents();
    SetImageOptions("Gapless", FreshFolder(L"gapless"));
    for (const wchar_t* name : {L"gapless-0.mp3", L"gapless-1.mp3", L"gapless-2.mp3"})
        Add(Media(name));
    EXPECT_EQ("", BurnToTheEnd());
}

// Damaged copies of every codec file (cut, bytes flipped in headers and in
// data, random bytes spliced in): each is refused at Prepare with a
// sentence naming it, or burns, or ends its burn with an error and no
// files; none hangs or crashes the engine.
TEST_F(BurnEngine, DamagedFilesAreRefusedOrBurnWhatTheyHoldButNeverHang) {
    std::wstring damaged = Media(L"damaged");
    std::vector<std::wstring> names = FilesIn(damaged);
    ASSERT_GE(names.size(), 80u);
    std::wstring folder = FreshFolder(L"damaged");
    int refused = 0, burnt = 0, failed = 0;
    for (const std::wstring& name : names) {
        ClearEvents();
        std::wstring path = damaged + L"\\" + name;
        int32_t seconds = 0;
        Api().GetPlayTime(path.c_str(), &seconds); // any answer, but an answer
        SetImageOptions("Damaged", folder);
        Add(path);
        std::string result = BurnToTheEnd();
        if (result.rfind("Prepare: ", 0) == 0) {
            ++refused;
            EXPECT_TRUE(Contains(result, Narrow(name))) << result;
        } else if (result.empty()) {
            ++burnt;
            EXPECT_EQ(2u, FilesIn(folder).size()) << Narrow(name);
        } else {
            ++failed;
            EXPECT_TRUE(Contains(result, "burn-done: ") && Contains(result, Narrow(name)))
                << Narrow(name) << ": " << result;
        }
        if (!result.empty()) {
            EXPECT_TRUE(FilesIn(folder).empty()) << Narrow(name);
        }
        folder = FreshFolder(L"damaged");
    }
    std::printf("damaged files: %d refused, %d burnt, %d ended with an error\n", refused, burnt,
                failed);
    EXPECT_GT(refused, 0);
    EXPECT_GT(burnt, 0);
}

TEST_F(BurnEngine, NamesImagesAfterTheLabelWhereTheEnvironmentSaysAndNeverOverwriteOne) {
    std::wstring folder = FreshFolder(L"names");
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", folder.c_str()));
    // Labels in the ANSI code page (1252) as file names: ':' '"' '?' cannot be
    // in one, a device's name or trailing dots are taken for something else.
    const std::pair<std::string, std::wstring> labels[] = {
        {"Caf\xe9: \"Best\"?", L"Caf\u00e9_ _Best__"},
        {"Caf\xe9: \"Best\"?", L"Caf\u00e9_ _Best__ (2)"},
        {"CON", L"_CON"},
        {"  Mix. . ", L"Mix"},
        {" ... ", L"Audio CD"}};
    std::vector<std::wstring> expected;
    for (const auto& label : labels) {
        SetImageOptions(label.first, L"");
        Add(Media(L"\u00dcn\u00efc\u00f8d\u00e9 \u65e5\u672c.wav"));
        ASSERT_EQ("", BurnToTheEnd()) << label.first;
        EXPECT_TRUE(Contains(Events(Event::DecodeDone).back().text, ".wav")); // named in ANSI
        ClearEvents();
        expected.push_back(label.second + L".bin");
        expected.push_back(label.second + L".cue");
    }
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", nullptr));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, FilesIn(folder));
    // The CUE sheets are UTF-8, keep their quotes whole and name their own BIN.
    EXPECT_EQ(0u, ReadAll(folder + L"\\Caf\u00e9_ _Best__ (2).cue")
                      .find("TITLE \"Caf\xc3\xa9: 'Best'?\"\r\n"
                            "FILE \"Caf\xc3\xa9_ _Best__ (2).bin\" BINARY\r\n"));
}

TEST_F(BurnEngine, WithoutAFolderImagesGoToQuillotuneInTheMusicFolder) {
    wchar_t* music = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Music, KF_FLAG_CREATE, nullptr, &music)));
    std::wstring folder = std::wstring(music) + L"\\Quillotune";
    CoTaskMemFree(music);
    auto remove = [&] {
        for (const std::wstring& file : FilesIn(folder))
            DeleteFileW((folder + L"\\" + file).c_str());
        RemoveDirectoryW(folder.c_str());
    };
    remove(); // the engine creates it
    SetImageOptions("In Music", L"");
    Add(Media(L"short.wav"));
    EXPECT_EQ("", BurnToTheEnd());
    EXPECT_EQ((std::vector<std::wstring>{L"In Music.bin", L"In Music.cue"}), FilesIn(folder));
    remove();
}

// An Abort may come while the run completes its image: the run then counts
// either as finished (image kept, burn-done raised) or as stopped (nothing
// kept, no event), never half of each. Eject shows the image.
TEST_F(HookedBurn, AnAbortInTheLastMomentKeepsTheImageOnlyWithItsBurnDone) {
    // Before the image has both its names, and once the run has decided.
    for (const char* abortAt : {"MoveFileExW#2", "CreateProcessW#1"}) {
        Reset("", abortAt);
        std::wstring folder = FreshFolder(L"last moment");
        SetImageOptions("LAST", folder, 1);
        Add(Media(L"short.wav"));
        ASSERT_EQ(0, Api().Prepare());
        ASSERT_EQ(0, Api().Burn());
        for (int i = 0; i < 600 && Events(Event::BurnDone).empty() && !FilesIn(folder).empty(); ++i)
            Sleep(50);
        bool finished = g_abortAt[0] == 'C';
        EXPECT_EQ(finished ? 2u : 0u, FilesIn(folder).size()) << abortAt;
        EXPECT_EQ(finished, !Events(Event::BurnDone).empty()) << abortAt;
        EXPECT_TRUE(!finished || Contains(g_commandLine, "explorer.exe\" /select,\"" +
                                                             Narrow(folder) + "\\LAST.cue\""))
            << g_commandLine;
    }
}

TEST_F(BurnEngine, PrepareRefusesListsNoDiscCanHold) {
    std::wstring folder = FreshFolder(L"refused");
    SetImageOptions("REFUSED", folder);
    auto refusal = [&] { return Narrow(TextOf(Api().Prepare())); };
    EXPECT_TRUE(Contains(refusal(), "add at least one audio file"));
    for (int i = 0; i < 100; ++i)
        Add(Media(L"short.wav"));
    std::string text = refusal();
    EXPECT_TRUE(Contains(text, "100 tracks") && Contains(text, "at most 99")) << text;
    for (int i = 0; i < 3; ++i)
        Add(Media(L"long.ogg")); // 27 minutes each
    text = refusal();
    EXPECT_TRUE(Contains(text, "81:00") && Contains(text, "80-minute")) << text;
    EXPECT_NE(0, Api().Burn()); // nothing was prepared
    // 99 tracks fit, as do two of the long files. Prepare removes what runs
    // whose process is gone left behind, and what no run of ours holds.
    const std::wstring own = L"qtn-" + std::to_wstring(GetCurrentProcessId()) + L"-77.tmp";
    for (const std::wstring& name :
         {std::wstring(L"qtn-4000000000-1.tmp"), own, std::wstring(L"qtnAB12.tmp")})
        CloseHandle(CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    for (int i = 0; i < 99; ++i)
        Add(Media(i < 2 ? L"long.ogg" : L"short.wav"));
    EXPECT_EQ(0, Api().Prepare()) << refusal();
    EXPECT_EQ((std::vector<std::wstring>{L"qtnAB12.tmp"}), FilesIn(folder));
    EXPECT_EQ(0, Api().Abort()); // drops the prepared run
    EXPECT_NE(0, Api().Burn());
    EXPECT_TRUE(Events().empty());
}

TEST_F(BurnEngine, PrepareNamesEveryFileThatCannotBeUsedAndAFolderItCannotWriteTo) {
    std::wstring folder = FreshFolder(L"badfiles");
    SetImageOptions("BAD", folder);
    const std::vector<std::string> bad = {"no such file.wav", "broken.mp3", "empty.wav", "cut.wma"};
    Add(Media(L"short.wav"));
    for (const std::string& name : bad)
        Add(Media(std::wstring(name.begin(), name.end())));
    std::string text = Narrow(TextOf(Api().Prepare()));
    EXPECT_TRUE(Contains(text, "no such file.wav") && Contains(text, "does not exist") &&
                Contains(text, "3 other files"))
        << text;
    // One decode-done event with its error flag per failing file, raised
    // inside Prepare on the calling thread.
    std::vector<Event> errors = Events(Event::DecodeDone);
    ASSERT_EQ(bad.size(), errors.size());
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_TRUE(Contains(errors[i].text, bad[i]) && errors[i].error != 0) << errors[i].text;
        EXPECT_EQ(GetCurrentThreadId(), errors[i].thread);
    }
    Add(Media(L"broken.mp3"));
    text = Narrow(TextOf(Api().Prepare()));
    EXPECT_TRUE(Contains(text, "broken.mp3") && Contains(text, "not audio")) << text;
    EXPECT_TRUE(FilesIn(folder).empty());
    // A folder that is not there, and a file where the folder should be.
    for (const wchar_t* name : {L"no such folder", L"short.wav"}) {
        SetImageOptions("NOWHERE", Media(name));
        Add(Media(L"short.wav"));
        EXPECT_TRUE(Contains(Narrow(TextOf(Api().Prepare())), Narrow(name)));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Media(L"no such folder").c_str()));
}

TEST_F(BurnEngine, AbortStopsTheRunAtOnceAndLeavesNothing) {
    EXPECT_EQ(0, Api().Abort()); // nothing to stop: harmless
    std::wstring folder = FreshFolder(L"aborted");
    SetImageOptions("ABORTED", folder);
    Add(Media(L"long.ogg"));
    Add(Media(L"long.ogg"));
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(WaitFor(Event::Process));
    EXPECT_FALSE(FilesIn(folder).empty()); // the temporary image is being written
    EXPECT_EQ(0, Api().Abort());
    size_t eventsAtAbort = Events().size();
    // Its files go within a second (polled, with room for a slow machine).
    for (int i = 0; i < 100 && !FilesIn(folder).empty(); ++i)
        Sleep(50);
    EXPECT_TRUE(FilesIn(folder).empty());
    Sleep(500);
    EXPECT_EQ(eventsAtAbort, Events().size()); // no event after Abort
    // The project is empty again, and the next run works.
    EXPECT_EQ(200, Api().Prepare());
    Add(Media(L"short.wav"));
    EXPECT_EQ("", BurnToTheEnd());
    EXPECT_EQ(2u, FilesIn(folder).size());
}

} // namespace
