#include "burn/RecorderList.h"

#include "engine/EngineResult.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

// A slot's text, read no further than the slot even when the engine left no
// zero in it.
std::wstring SlotText(const DeviceEntry& slot) {
    return std::wstring(slot.text, wcsnlen(slot.text, std::size(slot.text)));
}

} // namespace

void RecorderList::Fill(const EngineReport& report) const {
    DeviceEntry slots[kDeviceSlots] = {};
    int32_t count = 0;
    if (!report(report.engine.GetDevices(slots, &count, 1))) return;
    // The engine fills at most the slots it was given.
    count = std::clamp<int32_t>(count, 0, kDeviceSlots);

    for (int32_t i = 0; i < count; ++i) {
        std::wstring text = SlotText(slots[i]);
        m_box.AddString(text.c_str());
        // The engine works with the first recorder until a burn names another.
        if (i == 0 && !report(report.engine.SetDevice(DeviceValueOf(text.c_str())))) return;
    }
    if (count > 0) m_box.SetCurSel(0);
}

std::optional<uint32_t> RecorderList::SelectedDevice() const {
    int selected = m_box.GetCurSel();
    if (selected == CB_ERR) return std::nullopt;
    return DeviceValueOf(m_box.GetLBText(selected).c_str());
}
