// The engine's events: raised nested inside an engine call, from a thread of
// the engine's own, and after the dialog has ended.
#include "tests/burn/BurnTesting.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// A dialog in the middle of a run.
void StartRunning(DialogHarness& h) {
    StartWithTracks(h, {L"C:\\a.wav"});
    PressBurnAndTick(h);
    h.engine.calls.clear();
}

// Runs `work` on a thread of the engine's own while this thread handles the
// dialog's messages, which the events' window calls wait for. A deadlock
// hangs the test until ctest's timeout.
void OnEngineThread(DialogHarness& h, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread engine([&] {
        MessageBoxCatcher::ThreadHook hook;
        work();
        done = true;
    });
    for (; !done; h.Pump())
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    engine.join();
    h.Pump();
}

TEST(NestedEvents, AnEngineThatFinishesInsideBurnLeavesTheDialogIdle) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav", L"C:\\b.wav"});
    h.engine.during["Prepare"] = [&] {
        h.engine.RaiseAudioDecoder(64.8f);
        h.engine.RaiseAudioDecodeDone("C:\\a.mp3", 0);        // no error: no box
        h.engine.RaiseAudioDecodeDone("C:\\caf\xE9.ogg", -5); // code page 1252 text
    };
    h.engine.during["Burn"] = [&] {
        h.engine.RaiseProcess(50.0f, 80.0f, 1000.0);
        h.engine.RaiseFinalize();
        h.engine.RaiseProcess(100.0f, 0.0f, 2000.0);
        h.engine.RaiseBurnDone(""); // no error text
    };
    PressBurnAndTick(h);

    const std::wstring decodeBox = L" [Error: Error in File:C:\\caf\u00E9.ogg]";
    EXPECT_EQ(kIdle + L"2000 | 0.0 | 0" + kRunLines + L" | Finalize... | Burn Done" + decodeBox +
                  L" [Message: Burn Done.]",
              Looks(h));
    // The decoder's bar is hidden; a box without a context has no owner.
    EXPECT_EQ(64, SendMessageW(h.Item(IDC_DECODER_PROGRESS), PBM_GETPOS, 0, 0));
    EXPECT_FALSE(IsWindowVisible(h.Item(IDC_DECODER_PROGRESS)));
    std::get<4>(h.engine.handlers).first("C:\\b.wma", 0, 1, nullptr);
    EXPECT_EQ(nullptr, h.boxes.Boxes().at(2).owner);
}

TEST(ThreadEvents, ABurstFromTheEnginesThreadShowsEachFigureAndEndsIdle) {
    DialogHarness h;
    StartRunning(h);
    int wrongFigures = 0;
    std::wstring whileShown;
    h.boxes.whileShown = [&](const CaughtBox&) { whileShown = Looks(h); };
    OnEngineThread(h, [&] {
        for (int i = -20; i <= 420; ++i) {
            // "%.0f" bytes, "%.1f" buffer, the percent truncated and held at the bar's ends.
            h.engine.RaiseProcess(i / 4.0f - 0.05f, std::abs(i % 100) + 0.26f, i * 2352.0 + 0.4);
            // The handler's window calls are done by the time it returns.
            if (Figures(h) != std::to_wstring(i * 2352) + L" | " +
                                  std::to_wstring(std::abs(i % 100)) + L".3 | " +
                                  std::to_wstring(std::clamp(i / 4 - (i % 4 == 0 ? 1 : 0), 0, 100)))
                ++wrongFigures;
        }
        h.engine.RaiseFinalize();
        h.engine.RaiseBurnDone(nullptr);
    });

    EXPECT_EQ(0, wrongFigures);
    // The run counts as going on until the user has read the box; the last
    // figures stay for the user to read.
    const std::wstring end = kRunLines + L" | Finalize... | Burn Done [Message: Burn Done.]";
    EXPECT_EQ(L"Quillotune (Finalize...) | &Stop 0 | 987840 | 20.3 | 100" + end, whileShown);
    EXPECT_EQ(kIdle + L"987840 | 20.3 | 0" + end, Looks(h));
    EXPECT_EQ(h.Window(), h.boxes.Boxes().at(0).owner);
    EXPECT_TRUE(IsWindowEnabled(h.Window())); // the box gave its owner back
}

TEST(ThreadEvents, StopWhileTheEngineReportsThenItsLateBurnDoneStillShows) {
    DialogHarness h;
    StartRunning(h);
    std::atomic<bool> aborted{false};
    h.engine.during["Abort"] = [&] { aborted = true; };
    OnEngineThread(h, [&] {
        for (int i = 0; !aborted; ++i) {
            h.engine.RaiseProcess(static_cast<float>(i % 100), 50.0f, i * 100.0);
            if (i == 20) PostMessageW(h.Item(IDC_BURN), BM_CLICK, 0, 0); // the user's "&Stop"
        }
        // Winding down after the abort, while the dialog pauses and after.
        for (int i = 0; i < 5; ++i)
            h.engine.RaiseProcess(42.0f, 0.0f, 5000.0);
        h.engine.RaiseBurnDone("Aborted"); // any error text
    });

    EXPECT_EQ(Calls{"Abort()"}, h.engine.calls);
    EXPECT_EQ(kIdle + L"5000 | 0.0 | 0" + kRunLines +
                  L" | Burn Done With Errors [Message: Burn Done With Errors.]",
              Looks(h));
}

TEST(LateEvents, AfterStopAndExitTouchNothing) {
    DialogHarness h;
    StartRunning(h);
    h.Click(IDC_BURN); // "&Stop"
    h.Click(IDC_EXIT);
    ASSERT_EQ(nullptr, h.Window());
    auto raiseEveryEvent = [&] {
        h.engine.RaiseProcess(60.0f, 30.0f, 4096.0);
        h.engine.RaiseAudioDecoder(70.0f);
        h.engine.RaiseAudioDecodeDone("C:\\a.mp3", 1);
        h.engine.RaiseFinalize();
        h.engine.RaiseBurnDone(nullptr);
    };
    // The window is gone, the dialog object not yet; then the object too,
    // while the engine still holds the context it gave.
    for (int round = 0; round < 2; ++round) {
        raiseEveryEvent();
        OnEngineThread(h, raiseEveryEvent);
        h.dialog.reset();
    }
    EXPECT_EQ(0u, h.boxes.Count());
    EXPECT_EQ(Calls{"Abort()"}, h.engine.calls);
}

} // namespace
