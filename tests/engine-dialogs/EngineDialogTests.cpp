// The engine's own dialogs, driven as a user would from a second thread
// while the test's thread runs them, with handlers that behave like the
// program's: they send messages to a window of the dialog's thread and show
// a message box when a burn ends.
#include "../burn-engine/EngineHarness.h"
#include "burner/dialogs/DialogIds.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <thread>

namespace {

constexpr wchar_t kEndBox[] = L"Burn finished";
constexpr wchar_t kImageRecorder[] = L"Image Recorder (BIN/CUE disc image)";

bool WaitUntil(const std::function<bool()>& condition) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(50))
        if (condition()) return true;
    return false;
}

// Shown only once its initialisation is over, so its texts are there.
HWND WaitForWindow(const wchar_t* caption) {
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindWindowW(L"#32770", caption);
        return found != nullptr && IsWindowVisible(found);
    });
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

int VisibleButtons(HWND dialog) {
    int count = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        count += lstrcmpiW(kind, L"Button") == 0 && IsWindowVisible(child);
    }
    return count;
}

// Handlers like the program's, recording what they were given.
struct ProgramSide {
    HWND window = nullptr;
    std::mutex mutex;
    std::vector<std::string> events;

    void Add(std::string event) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(std::move(event));
    }
    size_t Count(const std::string& prefix) {
        std::lock_guard<std::mutex> lock(mutex);
        return std::count_if(events.begin(), events.end(),
                             [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
    }
    static ProgramSide& Of(void* context) { return *static_cast<ProgramSide*>(context); }
    static void ENGINE_CALL Finalize(void* context) { Of(context).Add("finalize"); }
    static void ENGINE_CALL Done(const char* text, void* context) {
        Of(context).Add(std::string("done:") + (text ? text : ""));
        MessageBoxW(Of(context).window, L"The burn has ended.", kEndBox, MB_OK);
    }
    static void ENGINE_CALL Process(float, uint32_t, float, double, uint64_t, void* context) {
        SendMessageW(Of(context).window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"writing"));
        Of(context).Add("process");
    }
    static void ENGINE_CALL Decoder(float, uint64_t, void*) {}
    static void ENGINE_CALL DecodeDone(const char*, uint32_t, int32_t error, void* context) {
        Of(context).Add("decode-done:" + std::to_string(error));
    }
};

class EngineDialogs : public BurnEngine {
protected:
    void SetUp() override {
        BurnEngine::SetUp();
        m_owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  500, 400, nullptr, nullptr, nullptr, nullptr);
        SetActiveWindow(m_owner);
        m_program.window = m_owner;
        Api().SetFinalizeEventCallback(&ProgramSide::Finalize, &m_program);
        Api().SetBurnDoneEventCallback(&ProgramSide::Done, &m_program);
        Api().SetProcessEventCallback(&ProgramSide::Process, &m_program);
        Api().SetAudioDecoderEventCallback(&ProgramSide::Decoder, &m_program);
        Api().SetAudioDecodeDoneEventCallback(&ProgramSide::DecodeDone, &m_program);
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        m_folder = FreshFolder(std::wstring(name.begin(), name.end()));
        SetImageOptions("DIALOG TEST", m_folder);
    }
    void TearDown() override {
        BurnEngine::TearDown();
        DestroyWindow(m_owner);
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
    // for Close, keeps the last status and closes.
    void BurnToTheEnd(
        HWND dialog, const std::function<void()>& meanwhile = [] {}) {
        Press(dialog, IDC_ENGINE_BURN);
        meanwhile();
        if (HWND box = WaitForWindow(kEndBox)) Press(box, IDOK);
        WaitUntil([&] { return WindowText(dialog, IDCANCEL) == L"Close"; });
        m_endStatus = WindowText(dialog, IDC_ENGINE_STATUS);
        m_endButtons = VisibleButtons(dialog);
        Press(dialog, IDCANCEL);
    }

    HWND m_owner = nullptr;
    ProgramSide m_program;
    std::wstring m_folder, m_endStatus;
    int m_endButtons = 0;
};

TEST_F(EngineDialogs, BurnDialogShowsTheProjectBurnsItAndKeepsTheProgramsThreadServed) {
    Add(Media(L"mixed-1.wav"));
    Add(Media(L"short.wav"));
    HWND owner = nullptr;
    std::wstring recorder, tracks, label;
    int buttons = 0;
    int32_t code = RunDialog(L"Burn Test", [&](HWND dialog) {
        WaitUntil(
            [&] { return WindowText(dialog, IDC_ENGINE_TRACKS).find(L':') != std::wstring::npos; });
        owner = GetWindow(dialog, GW_OWNER);
        recorder = WindowText(dialog, IDC_ENGINE_RECORDER);
        tracks = WindowText(dialog, IDC_ENGINE_TRACKS);
        label = WindowText(dialog, IDC_ENGINE_LABEL);
        buttons = VisibleButtons(dialog);
        BurnToTheEnd(dialog);
    });

    EXPECT_EQ(0, code);
    EXPECT_EQ(m_owner, owner);
    EXPECT_EQ(kImageRecorder, recorder);
    EXPECT_EQ(L"2 tracks, 0:09", tracks);
    EXPECT_EQ(L"DIALOG TEST", label);
    EXPECT_EQ(2, buttons); // Burn, Cancel
    EXPECT_EQ(L"The burn is complete.", m_endStatus);
    EXPECT_EQ(1, m_endButtons); // Close
    EXPECT_GE(m_program.Count("process"), 1u);
    EXPECT_EQ(L"writing", WindowText(m_owner)); // sent to this thread during the run
    EXPECT_EQ(1u, m_program.Count("finalize"));
    EXPECT_EQ(1u, m_program.Count("done:"));
    EXPECT_EQ("done:", m_program.events.back()); // last, and without an error text
    std::vector<std::wstring> files = FilesIn(m_folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{L"DIALOG TEST.bin", L"DIALOG TEST.cue"}), files);
}

TEST_F(EngineDialogs, CancelDuringTheBurnStopsItLeavesNoFilesAndSaysSo) {
    Add(Media(L"long.ogg"));
    int32_t code = RunDialog(L"Burn Test", [&](HWND dialog) {
        BurnToTheEnd(dialog, [&] {
            WaitUntil([&] { return m_program.Count("process") > 0; });
            Press(dialog, IDCANCEL);
        });
    });

    EXPECT_EQ(301, code);
    EXPECT_NE(std::wstring::npos, TextOf(code).find(L"cancelled"));
    EXPECT_EQ(L"The burn was cancelled. Nothing was written.", m_endStatus);
    ASSERT_EQ(1u, m_program.Count("done:"));
    EXPECT_EQ("done:" + Narrow(TextOf(code)), m_program.events.back());
    EXPECT_TRUE(FilesIn(m_folder).empty());
}

TEST_F(EngineDialogs, AFileThatCannotBeDecodedEndsTheBurnWithPreparesCode) {
    Add(Media(L"broken.mp3"));
    int32_t code = RunDialog(L"Burn Test", [&](HWND dialog) { BurnToTheEnd(dialog); });

    EXPECT_EQ(203, code);
    EXPECT_NE(std::wstring::npos, TextOf(code).find(L"broken.mp3"));
    EXPECT_EQ(L"The burn could not start: " + TextOf(code), m_endStatus);
    EXPECT_EQ(1u, m_program.Count("decode-done:1"));
    ASSERT_EQ(1u, m_program.Count("done:"));
    EXPECT_EQ("done:" + Narrow(TextOf(code)), m_program.events.back());
    EXPECT_TRUE(FilesIn(m_folder).empty());
}

TEST_F(EngineDialogs, ClosingTheBurnDialogWithoutBurningChangesNothing) {
    Add(Media(L"short.wav"));
    EXPECT_EQ(0, RunDialog(L"Burn Test", [](HWND dialog) { Press(dialog, IDCANCEL); }));
    EXPECT_TRUE(m_program.events.empty());
    EXPECT_TRUE(FilesIn(m_folder).empty());
}

TEST_F(EngineDialogs, EraseDialogSaysTheImageRecorderHasNothingToEraseAndOffersClose) {
    HWND owner = nullptr;
    std::wstring recorder, note;
    int buttons = 0;
    int32_t code = RunDialog(L"Erase", [&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        recorder = WindowText(dialog, IDC_ENGINE_RECORDER);
        note = WindowText(dialog, IDC_ENGINE_NOTE);
        buttons = VisibleButtons(dialog);
        Press(dialog, IDCANCEL);
    });

    EXPECT_EQ(0, code);
    EXPECT_EQ(m_owner, owner);
    EXPECT_EQ(kImageRecorder, recorder);
    EXPECT_EQ(L"The Image Recorder writes disc images to files and has no rewritable disc, so "
              L"there is nothing to erase.",
              note);
    EXPECT_EQ(1, buttons);
}

TEST_F(EngineDialogs, PreviewOfAFileThatCannotPlayReportsNothing) {
    // cut.wma keeps the system's decoder from ever answering: Stop must not wait for it.
    for (const wchar_t* name : {L"broken.mp3", L"empty.wav", L"no such file.wav", L"cut.wma"}) {
        EXPECT_EQ(0, Api().PlayAudioFile(Media(name).c_str())) << Narrow(name);
        Sleep(300); // a moment for the engine to get into the file
        EXPECT_EQ(0, Api().AudioFileStop()) << Narrow(name);
    }
    EXPECT_EQ(3, Api().PlayAudioFile(nullptr));
}

} // namespace
