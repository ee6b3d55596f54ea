// The engine's own dialogs, driven as a user would from a second thread while
// the test's thread runs them, with handlers that behave like the program's:
// they send messages to a window of the dialog's thread and show a message
// box when a burn ends. And its preview, played on a sound card of the test's.
#include "../burn-engine/EngineHarness.h"
#include "burner/dialogs/DialogIds.h"

#include <mmsystem.h>

#include <functional>
#include <thread>

namespace {

using Event = RecordedEvent;

constexpr wchar_t kEndBox[] = L"Burn finished";
constexpr wchar_t kImageRecorder[] = L"Image Recorder (BIN/CUE disc image)";

HWND g_owner = nullptr;

void ENGINE_CALL OnBurnDone(const char* text, void*) {
    RecordEvent({Event::BurnDone, 0, 0, 0, text == nullptr, text ? text : ""});
    MessageBoxW(g_owner, L"The burn has ended.", kEndBox, MB_OK);
}

void ENGINE_CALL OnProcess(float percent, uint32_t, float, double, uint64_t, void*) {
    SendMessageW(g_owner, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"writing"));
    RecordEvent({Event::Process, percent});
}

bool WaitUntil(const std::function<bool()>& condition) {
    for (ULONGLONG end = GetTickCount64() + 60000; GetTickCount64() < end; Sleep(50))
        if (condition()) return true;
    return false;
}

// Shown only once its initialisation is over, so its texts are there.
HWND WaitForWindow(const wchar_t* caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowW(L"#32770", caption)) && IsWindowVisible(found); });
    return found;
}

std::wstring WindowText(HWND window, int id = 0) {
    wchar_t text[1024] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(id ? GetDlgItem(window, id) : window, WM_GETTEXT, 1024,
                        reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &ignored);
    return text;
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// What a user sees of a dialog.
struct Look {
    HWND owner = nullptr;
    std::wstring recorder, tracks, label, note, status;
    int buttons = 0;
};

Look LookAt(HWND dialog) {
    Look look{GetWindow(dialog, GW_OWNER),           WindowText(dialog, IDC_ENGINE_RECORDER),
              WindowText(dialog, IDC_ENGINE_TRACKS), WindowText(dialog, IDC_ENGINE_LABEL),
              WindowText(dialog, IDC_ENGINE_NOTE),   WindowText(dialog, IDC_ENGINE_STATUS)};
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        look.buttons += lstrcmpiW(kind, L"Button") == 0 && IsWindowVisible(child);
    }
    return look;
}

class EngineDialogs : public BurnEngine {
protected:
    void SetUp() override {
        BurnEngine::SetUp();
        g_owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  500, 400, nullptr, nullptr, nullptr, nullptr);
        SetActiveWindow(g_owner);
        Api().SetBurnDoneEventCallback(&OnBurnDone, nullptr);
        Api().SetProcessEventCallback(&OnProcess, nullptr);
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        m_folder = FreshFolder(std::wstring(name.begin(), name.end()));
        SetImageOptions("DIALOG TEST", m_folder);
    }
    void TearDown() override {
        BurnEngine::TearDown();
        DestroyWindow(g_owner);
    }

    // Runs the dialog titled `caption` on this thread while `user` acts on
    // another; returns the dialog's result.
    int32_t RunDialog(const wchar_t* caption, const std::function<void(HWND)>& user) {
        std::thread driver([&] {
            if (HWND dialog = WaitForWindow(caption)) user(dialog);
        });
        int32_t code = caption == std::wstring(L"Erase") ? Api().EraseDialog(caption)
                                                         : Api().BurnDialog(0, 0, 1, caption, L"");
        driver.join();
        return code;
    }

    // Presses Burn, does `meanwhile`, answers the end's message box, waits
    // for Close, keeps the last look and closes.
    void BurnAndClose(
        HWND dialog, const std::function<void()>& meanwhile = [] {}) {
        Press(dialog, IDC_ENGINE_BURN);
        meanwhile();
        if (HWND box = WaitForWindow(kEndBox)) Press(box, IDOK);
        WaitUntil([&] { return WindowText(dialog, IDCANCEL) == L"Close"; });
        m_end = LookAt(dialog);
        Press(dialog, IDCANCEL);
    }

    std::wstring m_folder;
    Look m_end;
};

TEST_F(EngineDialogs, BurnDialogShowsTheProjectBurnsItAndKeepsTheProgramsThreadServed) {
    Add(Media(L"mixed-1.wav"));
    Add(Media(L"short.wav"));
    Look start;
    int32_t code = RunDialog(L"Burn Test", [&](HWND dialog) {
        WaitUntil(
            [&] { return WindowText(dialog, IDC_ENGINE_TRACKS).find(L':') != std::wstring::npos; });
        start = LookAt(dialog);
        BurnAndClose(dialog);
    });
    EXPECT_EQ(0, code);
    EXPECT_EQ(g_owner, start.owner);
    EXPECT_EQ(kImageRecorder, start.recorder);
    EXPECT_EQ(L"2 tracks, 0:09", start.tracks);
    EXPECT_EQ(L"DIALOG TEST", start.label);
    EXPECT_EQ(2, start.buttons); // Burn, Cancel
    EXPECT_EQ(L"The burn is complete.", m_end.status);
    EXPECT_EQ(1, m_end.buttons); // Close
    EXPECT_FALSE(Events(Event::Process).empty());
    EXPECT_EQ(L"writing", WindowText(g_owner)); // sent to this thread during the run
    EXPECT_EQ(1u, Events(Event::Finalize).size());
    ASSERT_EQ(1u, Events(Event::BurnDone).size());
    EXPECT_TRUE(Events().back().nullText); // last, and without an error text
    EXPECT_EQ((std::vector<std::wstring>{L"DIALOG TEST.bin", L"DIALOG TEST.cue"}),
              FilesIn(m_folder));
}

TEST_F(EngineDialogs, CancelDuringTheBurnStopsItLeavesNoFilesAndSaysSo) {
    Add(Media(L"long.ogg"));
    int32_t code = RunDialog(L"Burn Test", [&](HWND dialog) {
        BurnAndClose(dialog, [&] {
            WaitUntil([&] { return !Events(Event::Process).empty(); });
            Press(dialog, IDCANCEL);
        });
    });
    EXPECT_EQ(301, code);
    EXPECT_NE(std::wstring::npos, TextOf(code).find(L"cancelled"));
    EXPECT_EQ(L"The burn was cancelled. Nothing was written.", m_end.status);
    // The program hears the end once, last, with the code's text.
    ASSERT_EQ(1u, Events(Event::BurnDone).size());
    EXPECT_EQ(Narrow(TextOf(code)), Events().back().text);
    EXPECT_TRUE(FilesIn(m_folder).empty());
}

TEST_F(EngineDialogs, ClosingTheBurnDialogWithoutBurningChangesNothing) {
    Add(Media(L"short.wav"));
    EXPECT_EQ(0, RunDialog(L"Burn Test", [](HWND dialog) { Press(dialog, IDCANCEL); }));
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(FilesIn(m_folder).empty());
}

TEST_F(EngineDialogs, EraseDialogSaysTheImageRecorderHasNothingToEraseAndOffersClose) {
    Look look;
    EXPECT_EQ(0, RunDialog(L"Erase", [&](HWND dialog) {
                  look = LookAt(dialog);
                  Press(dialog, IDCANCEL);
              }));
    EXPECT_EQ(g_owner, look.owner);
    EXPECT_EQ(kImageRecorder, look.recorder);
    EXPECT_EQ(L"The Image Recorder writes disc images to files and has no rewritable disc, so "
              L"there is nothing to erase.",
              look.note);
    EXPECT_EQ(1, look.buttons); // Close
}

// A sound card that plays at once, counting the frames it is given.
HANDLE g_bufferDone = nullptr;
HANDLE g_closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
size_t g_opened = 0, g_frames = 0;

MMRESULT WINAPI FakeOpen(LPHWAVEOUT device, UINT, LPCWAVEFORMATEX, DWORD_PTR event, DWORD_PTR,
                         DWORD) {
    ++g_opened;
    g_bufferDone = reinterpret_cast<HANDLE>(event);
    *device = reinterpret_cast<HWAVEOUT>(1);
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakePrepare(HWAVEOUT, LPWAVEHDR, UINT) {
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeWrite(HWAVEOUT, LPWAVEHDR header, UINT) {
    g_frames += header->dwBufferLength / 4;
    header->dwFlags |= WHDR_DONE;
    SetEvent(g_bufferDone);
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeReset(HWAVEOUT) {
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeClose(HWAVEOUT) {
    SetEvent(g_closed);
    return MMSYSERR_NOERROR;
}

using Preview = BurnEngine;

TEST_F(Preview, PlaysAFileToItsLastFrameNothingOfAFileItCannotPlayAndNeverDisturbsABurn) {
    ImportPatch card[] = {{EngineModule(), "waveOutOpen", &FakeOpen},
                          {EngineModule(), "waveOutPrepareHeader", &FakePrepare},
                          {EngineModule(), "waveOutWrite", &FakeWrite},
                          {EngineModule(), "waveOutReset", &FakeReset},
                          {EngineModule(), "waveOutClose", &FakeClose}};
    // Resampled files end with what the resampler held back; a blip shorter
    // than a second plays too.
    for (auto file : {std::make_pair(L"short.wav", 88200), std::make_pair(L"hires.wav", 132300),
                      std::make_pair(L"mixed-3.ogg", 273420), std::make_pair(L"blip.wav", 22050)}) {
        g_frames = 0;
        ResetEvent(g_closed);
        EXPECT_EQ(0, Api().PlayAudioFile(Media(file.first).c_str()));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_closed, 30000));
        EXPECT_NEAR(file.second, g_frames, 2) << Narrow(file.first);
    }
    // cut.wma keeps the system's decoder from ever answering: Stop must not wait for it.
    g_opened = 0;
    for (const wchar_t* name : {L"broken.mp3", L"empty.wav", L"no such file.wav", L"cut.wma"}) {
        EXPECT_EQ(0, Api().PlayAudioFile(Media(name).c_str())) << Narrow(name);
        Sleep(300); // a moment for the engine to get into the file
        EXPECT_EQ(0, Api().AudioFileStop()) << Narrow(name);
    }
    EXPECT_EQ(0u, g_opened);
    EXPECT_EQ(3, Api().PlayAudioFile(nullptr));
    EXPECT_TRUE(Events().empty());

    // A burn made while a preview plays is the WAV, bit for bit.
    ResetEvent(g_closed);
    g_frames = 0;
    EXPECT_EQ(0, Api().PlayAudioFile(Media(L"long.ogg").c_str()));
    std::wstring folder = FreshFolder(L"preview");
    SetImageOptions("PREVIEW", folder);
    Add(Media(L"mixed-1.wav"));
    EXPECT_EQ("", BurnToTheEnd());
    EXPECT_TRUE(g_frames > 0 && WaitForSingleObject(g_closed, 0) == WAIT_TIMEOUT); // it played on
    EXPECT_EQ(0, Api().AudioFileStop());
    std::string wav = ReadAll(Media(L"mixed-1.wav"));
    std::string image = ReadAll(folder + L"\\PREVIEW.bin");
    wav.erase(0, wav.find("data") + 8);
    EXPECT_TRUE(image.size() > wav.size() && image.compare(0, wav.size(), wav) == 0);
}

} // namespace
