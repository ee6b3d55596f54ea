#include "compilation/FileChooser.h"

#include <cstddef>

namespace {

// Description and pattern pairs, "|" standing for the zero between them.
constexpr wchar_t kFilter[] =
    L"All Supported (*.wav, *.mp3...)|*.wav;*.mp3;*.ogg;*.wma|Wav Files (*.wav)|*.wav|"
    L"MP3 Files (*.mp3)|*.mp3|Ogg Files (*.ogg)|*.ogg|Wma Files (*.wma)|*.wma||";

constexpr size_t kResultCapacity = 50000;

// The Windows 95/98/Me family knows only the structure without its trailing
// fields, and refuses a larger one.
constexpr DWORD kOldStructSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
constexpr DWORD kStructSize = sizeof(OPENFILENAMEW);
#if !defined(_WIN64)
static_assert(kOldStructSize == 76, "older OPENFILENAMEW layout");
static_assert(kStructSize == 88, "OPENFILENAMEW layout");
#endif

std::wstring ZeroSeparated(const wchar_t* filter) {
    std::wstring text = filter;
    for (wchar_t& c : text)
        if (c == L'|') c = L'\0';
    return text;
}

bool IsOldWindowsFamily() {
    return (GetVersion() & 0x80000000u) != 0;
}

} // namespace

bool OpenFileChooser::ChooseAudioFiles(HWND owner, std::vector<std::wstring>& paths) {
    std::wstring filter = ZeroSeparated(kFilter);
    std::vector<wchar_t> result(kResultCapacity, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = IsOldWindowsFamily() ? kOldStructSize : kStructSize;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = result.data();
    dialog.nMaxFile = static_cast<DWORD>(result.size());
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING |
                   OFN_ALLOWMULTISELECT;
    // Cancel, and a selection whose names do not fit, both end here.
    if (!m_show(&dialog)) return false;

    paths = SplitOpenDialogResult(result.data(), result.size());
    return true;
}

std::vector<std::wstring> SplitOpenDialogResult(const wchar_t* buffer, size_t capacity) {
    // The zero-terminated strings up to the first empty one; a string that
    // runs to the end of the buffer without its zero is not taken.
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start < capacity && buffer[start] != L'\0') {
        size_t end = start;
        while (end < capacity && buffer[end] != L'\0')
            ++end;
        if (end == capacity) break;
        parts.emplace_back(buffer + start, end - start);
        start = end + 1;
    }
    if (parts.size() <= 1) return parts;

    // A folder followed by names in that folder.
    std::wstring folder = parts.front();
    if (folder.back() != L'\\') folder += L'\\';
    std::vector<std::wstring> paths;
    for (size_t i = 1; i < parts.size(); ++i)
        paths.push_back(folder + parts[i]);
    return paths;
}
