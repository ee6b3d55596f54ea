// What the burn, event and preview tests share.
#pragma once

#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

const std::wstring kIdle = L"Quillotune | &Burn Now! 12 | ";
const std::wstring kRunLines = L" | Prepare Collection | Start Burning...";

// A started dialog with these rows in its track list, calls cleared.
inline void StartWithTracks(DialogHarness& h, const std::vector<std::wstring>& paths) {
    ASSERT_TRUE(h.Start());
    for (const std::wstring& path : paths)
        h.AppendRow(path, L"00:00:10");
    h.engine.calls.clear();
}

// "&Burn Now!" and the start timer's first tick: the run up to `Burn`.
inline void PressBurnAndTick(DialogHarness& h) {
    h.Click(IDC_BURN);
    h.Tick(TIMER_BURN_START);
}

// Bytes written | buffer | progress bar.
inline std::wstring Figures(const DialogHarness& h) {
    return h.Text(IDC_BYTES_WRITTEN) + L" | " + h.Text(IDC_BUFFER) + L" | " +
           std::to_wstring(SendMessageW(h.Item(IDC_BURN_PROGRESS), PBM_GETPOS, 0, 0));
}

// The dialog at a glance: the title, the burn button and how many of the
// twelve controls a run locks are enabled, the figures, the information lines
// and the message boxes shown so far.
inline std::wstring Looks(const DialogHarness& h) {
    int enabled = 0;
    for (int id : {IDC_ADD, IDC_DELETE, IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_PLAY, IDC_STOP_PREVIEW,
                   IDC_ERASE, IDC_EXIT, IDC_RECORDERS, IDC_SPEED, IDC_VOLUME_LABEL, IDC_EJECT})
        enabled += h.Enabled(id) ? 1 : 0;
    std::wstring looks = h.Title() + L" | " + h.Text(IDC_BURN) + L" " + std::to_wstring(enabled) +
                         L" | " + Figures(h);
    for (const std::wstring& line : h.InformationLines())
        looks += L" | " + line;
    for (const CaughtBox& box : h.boxes.Boxes())
        looks += L" [" + box.caption + L": " + box.text + L"]";
    return looks;
}
