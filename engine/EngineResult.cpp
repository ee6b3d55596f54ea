#include "engine/EngineResult.h"

#include "framework/Controls.h"

#include <algorithm>
#include <vector>

namespace {

constexpr wchar_t kErrorPrefix[] = L"error: ";

// The engine's text for `code`. The buffer is terminated even when the engine
// leaves no zero within it.
std::wstring EngineText(const EngineApi& engine, int32_t code) {
    std::vector<wchar_t> buffer(kTextCapacity, L'\0');
    int32_t capacity = kTextCapacity;
    engine.GetText(code, buffer.data(), &capacity); // result and capacity deliberately unread
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}

bool IsHighSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

std::wstring BuildErrorLine(const std::wstring& engineText) {
    // The whole line, prefix and terminating zero included, fits 2048 units.
    constexpr size_t prefixLength = std::size(kErrorPrefix) - 1;
    constexpr size_t room = kTextCapacity - 1 - prefixLength;
    size_t kept = std::min(engineText.size(), room);
    // A pair cut in two would leave half a character at the end.
    if (kept < engineText.size() && kept > 0 && IsHighSurrogate(engineText[kept - 1])) --kept;
    return kErrorPrefix + engineText.substr(0, kept);
}

bool CheckEngineResult(const EngineApi& engine, HWND owner, const CListBox& information,
                       int32_t code) {
    if (code == 0) return true;
    std::wstring line = BuildErrorLine(EngineText(engine, code));
    information.AddString(line.c_str());
    MessageBoxW(owner, line.c_str(), L"Message", MB_OK);
    return false;
}

bool EngineReport::operator()(int32_t code) const {
    return CheckEngineResult(engine, owner.Hwnd(), information, code);
}
