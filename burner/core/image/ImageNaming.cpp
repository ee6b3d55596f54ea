#include "burner/core/image/ImageNaming.h"

#include <cwctype>

namespace {

constexpr size_t kMaxNameLength = 64;

bool IsInvalidCharacter(wchar_t c) {
    return c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'/' ||
           c == L'\\' || c == L'|' || c == L'?' || c == L'*' || c == 0x7F;
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// Windows refuses these as a file's name whatever its extension.
bool IsReservedDeviceName(const std::wstring& name) {
    std::wstring stem = Upper(name.substr(0, name.find(L'.')));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$" ||
        stem == L"CONOUT$")
        return true;
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0))
        return stem[3] >= L'0' && stem[3] <= L'9';
    return false;
}

// At most kMaxNameLength characters, never ending between the two halves of
// a surrogate pair, nor in a space or a dot.
void CutAndTrim(std::wstring& name) {
    if (name.size() > kMaxNameLength) {
        size_t end = kMaxNameLength;
        if (name[end - 1] >= 0xD800 && name[end - 1] <= 0xDBFF) --end;
        name.resize(end);
    }
    while (!name.empty() && (name.back() == L' ' || name.back() == L'.'))
        name.pop_back();
}

} // namespace

std::wstring SafeFileName(const std::wstring& label) {
    std::wstring name;
    for (wchar_t c : label)
        name += IsInvalidCharacter(c) ? L'_' : c;
    size_t first = name.find_first_not_of(L' ');
    name = first == std::wstring::npos ? std::wstring() : name.substr(first);
    // Only the cut and trimmed name shows whether it is a device name ("COM1"
    // and spaces); the mark in front must not make it too long again.
    CutAndTrim(name);
    if (name.empty()) return L"Audio CD";
    if (IsReservedDeviceName(name)) {
        name = L"_" + name;
        CutAndTrim(name);
    }
    return name;
}

std::wstring NumberedName(const std::wstring& base, int number) {
    if (number <= 1) return base;
    return base + L" (" + std::to_wstring(number) + L")";
}

std::wstring FirstFreeName(const std::wstring& base,
                           const std::function<bool(const std::wstring&)>& taken) {
    for (int number = 1; number < 10000; ++number) {
        std::wstring name = NumberedName(base, number);
        if (!taken(name)) return name;
    }
    return std::wstring();
}
