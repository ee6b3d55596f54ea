#include "tests/burn/BurnTesting.h"

#include <gtest/gtest.h>

#include <cstdio>

const std::vector<int> kLockedControls = {
    IDC_ADD,   IDC_DELETE, IDC_MOVE_UP,   IDC_MOVE_DOWN, IDC_PLAY,         IDC_STOP_PREVIEW,
    IDC_ERASE, IDC_EXIT,   IDC_RECORDERS, IDC_SPEED,     IDC_VOLUME_LABEL, IDC_EJECT};

void StartWithTracks(DialogHarness& h, const std::vector<std::wstring>& paths) {
    ASSERT_TRUE(h.Start());
    for (const std::wstring& path : paths)
        h.AppendRow(path, L"00:00:10");
    h.engine.ClearCalls();
}

void PressBurnAndTick(DialogHarness& h) {
    h.Click(IDC_BURN);
    h.Tick(TIMER_BURN_START);
}

EngineThread::EngineThread(std::function<void()> work)
    : m_thread([this, work = std::move(work)] {
          MessageBoxCatcher::ThreadHook hook;
          work();
          m_done.store(true);
      }) {}

EngineThread::~EngineThread() {
    if (m_thread.joinable()) m_thread.join();
}

void EngineThread::PumpUntil(DialogHarness& h, const std::function<bool()>& condition) {
    // Generous: the work itself takes milliseconds; only a deadlock gets here.
    const DWORD deadline = GetTickCount() + 60000;
    while (!condition()) {
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) {
            std::fprintf(stderr, "The engine thread got stuck: the dialog deadlocked.\n");
            std::fflush(stderr);
            ExitProcess(3);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        h.Pump();
    }
}

void EngineThread::Finish(DialogHarness& h) {
    PumpUntil(h, [this] { return m_done.load(); });
    m_thread.join();
    h.Pump();
}

void RunOnEngineThread(DialogHarness& h, const std::function<void()>& work) {
    EngineThread engine(work);
    engine.Finish(h);
}

void PumpWithTimers(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

namespace {

std::string Describe(int id, bool enabled) {
    return std::to_string(id) + (enabled ? " enabled" : " disabled");
}

} // namespace

std::vector<std::string> StateOfLockedControls(const DialogHarness& h) {
    std::vector<std::string> state;
    for (int id : kLockedControls)
        state.push_back(Describe(id, h.Enabled(id)));
    state.push_back("burn button " + Narrow(h.Text(IDC_BURN)) +
                    (h.Enabled(IDC_BURN) ? " enabled" : " disabled"));
    return state;
}

std::vector<std::string> ExpectedLockedState(bool burning) {
    std::vector<std::string> state;
    for (int id : kLockedControls)
        state.push_back(Describe(id, !burning));
    state.push_back(std::string("burn button ") + (burning ? "&Stop" : "&Burn Now!") + " enabled");
    return state;
}

std::vector<std::string> ExpectedStateBeforeTheFirstRun() {
    std::vector<std::string> state = ExpectedLockedState(false);
    state.back() = "burn button Burn Now! enabled";
    return state;
}

int BarPosition(const DialogHarness& h, int id) {
    return static_cast<int>(SendMessageW(h.Item(id), PBM_GETPOS, 0, 0));
}
