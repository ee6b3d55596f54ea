// The engine's events: what each shows, raised on the dialog's thread (also
// nested inside an engine call) and from a thread of the engine's own, and
// after the dialog has ended.
#include "tests/burn/BurnTesting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>

namespace {

// A dialog in the middle of a run.
void StartRunning(DialogHarness& h) {
    StartWithTracks(h, {L"C:\\a.wav"});
    PressBurnAndTick(h);
    ASSERT_TRUE(h.dialog->IsBurning());
    h.engine.ClearCalls();
}

TEST(FinalizeEvent, ShowsThePhaseAndChangesNothingElse) {
    DialogHarness h;
    StartRunning(h);
    h.engine.RaiseFinalize();
    EXPECT_EQ(L"Quillotune (Finalize...)", h.Title());
    EXPECT_EQ((Lines{L"Prepare Collection", L"Start Burning...", L"Finalize..."}),
              h.InformationLines());
    EXPECT_TRUE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(true), StateOfLockedControls(h));
    EXPECT_EQ(0u, h.boxes.Count());
}

struct BurnEnd {
    const char* errorText;
    const wchar_t* line;
    const wchar_t* box;
};

class BurnDoneEvent : public testing::TestWithParam<BurnEnd> {};

TEST_P(BurnDoneEvent, ReportsTheEndAndReturnsToIdleAfterTheBox) {
    DialogHarness h;
    StartRunning(h);
    h.engine.RaiseProcess(87.5f, 44.0f, 123456.0);

    std::vector<std::string> stateWhileShown;
    h.boxes.WhileShown([&](const CaughtBox&) { stateWhileShown = StateOfLockedControls(h); });
    h.engine.RaiseBurnDone(GetParam().errorText);

    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(GetParam().box, boxes[0].text);
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);
    // The run counts as going on until the user has read the box.
    EXPECT_EQ(ExpectedLockedState(true), stateWhileShown);

    EXPECT_EQ((Lines{L"Prepare Collection", L"Start Burning...", GetParam().line}),
              h.InformationLines());
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
    EXPECT_EQ(0, BarPosition(h, IDC_BURN_PROGRESS));
    // The last figures stay for the user to read.
    EXPECT_EQ(L"123456", h.Text(IDC_BYTES_WRITTEN));
    EXPECT_EQ(L"44.0", h.Text(IDC_BUFFER));
    EXPECT_TRUE(h.engine.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(NullEmptyAndErrorText, BurnDoneEvent,
                         testing::Values(BurnEnd{nullptr, L"Burn Done", L"Burn Done."},
                                         BurnEnd{"", L"Burn Done", L"Burn Done."},
                                         BurnEnd{"Write error at sector 12",
                                                 L"Burn Done With Errors",
                                                 L"Burn Done With Errors."}));

TEST(ProcessEvent, ShowsTruncatedPercentRoundedBytesAndOneDecimalOfBuffer) {
    DialogHarness h;
    StartRunning(h);
    struct Case {
        float percent, buffer;
        double bytes;
        int bar;
        const wchar_t* bytesText;
        const wchar_t* bufferText;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {99.9f, 57.26f, 987.6, 99, L"988", L"57.3"},
        {0.0f, 0.0f, 0.0, 0, L"0", L"0.0"},
        {100.0f, 100.0f, 734003200.0, 100, L"734003200", L"100.0"},
        {12.99f, 9.95f, 1234567890123.4, 12, L"1234567890123", L"9.9"},
        // Figures the bar cannot show stay at its ends.
        {-3.0f, 1.0f, 1.0, 0, L"1", L"1.0"},
        {250.0f, 1.0f, 1.0, 100, L"1", L"1.0"},
        {nan, 1.0f, 1.0, 0, L"1", L"1.0"},
    };
    for (const Case& c : cases) {
        h.engine.RaiseProcess(c.percent, c.buffer, c.bytes);
        EXPECT_EQ(c.bar, BarPosition(h, IDC_BURN_PROGRESS)) << c.percent;
        EXPECT_EQ(c.bytesText, h.Text(IDC_BYTES_WRITTEN)) << c.bytes;
        EXPECT_EQ(c.bufferText, h.Text(IDC_BUFFER)) << c.buffer;
    }
    EXPECT_TRUE(h.dialog->IsBurning());
    EXPECT_EQ(L"Quillotune (Start Burning...)", h.Title());
}

TEST(AudioDecoderEvent, MovesOnlyTheHiddenDecoderBar) {
    DialogHarness h;
    StartRunning(h);
    h.engine.RaiseAudioDecoder(64.8f);
    EXPECT_EQ(64, BarPosition(h, IDC_DECODER_PROGRESS));
    EXPECT_FALSE(h.Visible(IDC_DECODER_PROGRESS));
    EXPECT_EQ(0, BarPosition(h, IDC_BURN_PROGRESS));
    EXPECT_EQ(L"0", h.Text(IDC_BYTES_WRITTEN));
    EXPECT_EQ(L"Quillotune (Start Burning...)", h.Title());
    EXPECT_EQ(2u, h.InformationLines().size());
}

TEST(AudioDecodeDoneEvent, ShowsAFailedFileOnlyAndTheRunGoesOn) {
    DialogHarness h;
    StartRunning(h);
    h.engine.RaiseAudioDecodeDone("C:\\a.mp3", 0);
    EXPECT_EQ(0u, h.boxes.Count());

    h.engine.RaiseAudioDecodeDone("C:\\a.mp3", 1);
    h.engine.RaiseAudioDecodeDone("C:\\caf\xE9.ogg", -5); // code page 1252 text
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(L"Error in File:C:\\a.mp3", boxes[0].text);
    EXPECT_EQ(L"Error", boxes[0].caption);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);
    EXPECT_EQ(L"Error in File:C:\\caf\u00E9.ogg", boxes[1].text);

    EXPECT_EQ(2u, h.InformationLines().size());
    EXPECT_TRUE(h.dialog->IsBurning());

    // Without a context the box has no owner.
    h.engine.handlers.audioDecodeDone("C:\\b.wma", 0, 1, nullptr);
    ASSERT_EQ(3u, h.boxes.Count());
    EXPECT_EQ(L"Error in File:C:\\b.wma", h.boxes.Boxes()[2].text);
    EXPECT_EQ(nullptr, h.boxes.Boxes()[2].owner);
}

TEST(NestedEvents, AnEngineThatFinishesInsideBurnLeavesTheDialogIdle) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav", L"C:\\b.wav"});
    h.engine.during["Prepare"] = [&] {
        h.engine.RaiseAudioDecoder(100.0f);
        h.engine.RaiseProcess(5.0f, 10.0f, 100.0);
    };
    h.engine.during["Burn"] = [&] {
        h.engine.RaiseProcess(50.0f, 80.0f, 1000.0);
        h.engine.RaiseFinalize();
        h.engine.RaiseProcess(100.0f, 0.0f, 2000.0);
        h.engine.RaiseBurnDone(nullptr);
    };
    PressBurnAndTick(h);

    EXPECT_EQ((Lines{L"Prepare Collection", L"Start Burning...", L"Finalize...", L"Burn Done"}),
              h.InformationLines());
    ASSERT_EQ(1u, h.boxes.Count());
    EXPECT_EQ(L"Burn Done.", h.boxes.Boxes()[0].text);
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
    EXPECT_EQ(L"2000", h.Text(IDC_BYTES_WRITTEN));
    EXPECT_EQ(0, BarPosition(h, IDC_BURN_PROGRESS));
}

TEST(ThreadEvents, ABurstFromTheEnginesThreadShowsEachFigureAndEndsIdle) {
    DialogHarness h;
    StartRunning(h);
    const DWORD dialogThread = GetCurrentThreadId();
    int wrongFigures = 0;
    std::wstring titleAfterFinalize;

    RunOnEngineThread(h, [&] {
        for (int i = 1; i <= 400; ++i) {
            float percent = i / 4.0f - 0.05f;
            float buffer = static_cast<float>(i % 100) + 0.26f;
            double bytes = i * 2352.0 + 0.4;
            h.engine.RaiseProcess(percent, buffer, bytes);
            // The handler's window calls are done by the time it returns.
            if (BarPosition(h, IDC_BURN_PROGRESS) != static_cast<int>(percent) ||
                h.Text(IDC_BYTES_WRITTEN) != std::to_wstring(i * 2352) ||
                h.Text(IDC_BUFFER) != std::to_wstring(i % 100) + L".3")
                ++wrongFigures;
        }
        h.engine.RaiseFinalize();
        titleAfterFinalize = h.Title();
        h.engine.RaiseBurnDone(nullptr);
    });

    EXPECT_EQ(0, wrongFigures);
    EXPECT_EQ(L"Quillotune (Finalize...)", titleAfterFinalize);
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Burn Done.", boxes[0].text);
    EXPECT_NE(dialogThread, boxes[0].thread);
    EXPECT_EQ(h.Window(), boxes[0].owner);
    EXPECT_EQ((Lines{L"Prepare Collection", L"Start Burning...", L"Finalize...", L"Burn Done"}),
              h.InformationLines());
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
    EXPECT_EQ(0, BarPosition(h, IDC_BURN_PROGRESS));
    EXPECT_EQ(L"940800", h.Text(IDC_BYTES_WRITTEN));
    EXPECT_TRUE(IsWindowEnabled(h.Window())); // the box gave its owner back
}

TEST(ThreadEvents, StopWhileTheEngineReportsThenItsLateBurnDoneStillShows) {
    DialogHarness h;
    StartRunning(h);
    std::atomic<bool> aborted{false};
    std::atomic<int> raised{0};
    h.engine.during["Abort"] = [&] { aborted.store(true); };

    EngineThread engine([&] {
        for (int i = 0; !aborted.load(); ++i) {
            h.engine.RaiseProcess(static_cast<float>(i % 100), 50.0f, i * 100.0);
            ++raised;
        }
        // Winding down after the abort, while the dialog pauses and after.
        for (int i = 0; i < 5; ++i)
            h.engine.RaiseProcess(42.0f, 0.0f, 5000.0);
        h.engine.RaiseBurnDone("Aborted");
    });
    engine.PumpUntil(h, [&] { return raised.load() >= 20; });
    h.Click(IDC_BURN); // "&Stop"
    engine.Finish(h);

    EXPECT_EQ(1u, h.engine.CallsNamed("Abort").size());
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Burn Done With Errors.", boxes[0].text);
    EXPECT_EQ(L"Burn Done With Errors", h.InformationLines().back());
    EXPECT_EQ(L"5000", h.Text(IDC_BYTES_WRITTEN));
    EXPECT_EQ(0, BarPosition(h, IDC_BURN_PROGRESS));
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
}

void RaiseEveryEvent(ScriptedEngine& engine) {
    engine.RaiseProcess(60.0f, 30.0f, 4096.0);
    engine.RaiseAudioDecoder(70.0f);
    engine.RaiseAudioDecodeDone("C:\\a.mp3", 1);
    engine.RaiseFinalize();
    engine.RaiseBurnDone(nullptr);
}

TEST(LateEvents, AfterStopAndExitTouchNothing) {
    DialogHarness h;
    StartRunning(h);
    h.Click(IDC_BURN); // "&Stop"
    HWND window = h.Window();
    h.Click(IDC_EXIT);
    ASSERT_FALSE(IsWindow(window));

    // The window is gone, the dialog object not yet.
    RaiseEveryEvent(h.engine);
    RunOnEngineThread(h, [&] { RaiseEveryEvent(h.engine); });
    EXPECT_EQ(0u, h.boxes.Count());

    // Then the object too: the handlers still hold the context it gave.
    h.dialog.reset();
    RaiseEveryEvent(h.engine);
    RunOnEngineThread(h, [&] { RaiseEveryEvent(h.engine); });
    EXPECT_EQ(0u, h.boxes.Count());
    EXPECT_EQ(Calls{"Abort()"}, h.engine.Calls());
}

} // namespace
