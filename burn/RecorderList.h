// The recorder list: the engine's recorders by their display texts, in the
// engine's order. It keeps nothing beside the texts; a recorder's device value
// is worked out from its text when needed.
#pragma once

#include "framework/Controls.h"

#include <cstdint>
#include <optional>

struct EngineReport;

class RecorderList {
public:
    // The drop-down list, attached by the dialog's data exchange.
    CComboBox& Box() { return m_box; }

    // Appends the engine's recorders (without emptying the list first) and
    // hands the engine the first one; selects it unless the engine refused.
    void Fill(const EngineReport& report) const;
    // The device value of the selected recorder; none without a selection.
    std::optional<uint32_t> SelectedDevice() const;

private:
    CComboBox m_box;
};
