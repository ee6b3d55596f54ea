// The recorder list and Erase.
#include "app/CDodezOvurerDlg.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr int kWindowHeight = 558;
constexpr int kWindowHeightWithBurnDialog = 457;

// A slot's text, read no further than the slot even when the engine left no
// zero in it.
std::wstring SlotText(const DeviceEntry& slot) {
    return std::wstring(slot.text, wcsnlen(slot.text, std::size(slot.text)));
}

} // namespace

void CDodezOvurerDlg::FillRecorderList() {
    UpdateData(true);
    ShortenWindow(m_burnWithDialog != 0 ? kWindowHeightWithBurnDialog : kWindowHeight);

    DeviceEntry slots[kDeviceSlots] = {};
    int32_t count = 0;
    if (!CheckEngineResult(m_engine.GetDevices(slots, &count, 1))) return;
    // The engine fills at most the slots it was given.
    count = std::clamp<int32_t>(count, 0, kDeviceSlots);

    for (int32_t i = 0; i < count; ++i) {
        std::wstring text = SlotText(slots[i]);
        m_recorderList.AddString(text.c_str());
        // The engine works with the first recorder until a burn names another.
        if (i == 0 && !CheckEngineResult(m_engine.SetDevice(DeviceValueOf(text.c_str())))) return;
    }
    if (count > 0) m_recorderList.SetCurSel(0);
}

void CDodezOvurerDlg::OnErase() {
    // The preview flag stays as it is: only Stop and a burn clear it.
    m_engine.AudioFileStop(); // result deliberately unread
    // The engine erases with the recorder it was last given.
    CheckEngineResult(m_engine.EraseDialog(L"Erase"));
}
