#include "base/Text.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace {

std::string ToCodePage(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size, nullptr, nullptr);
    return result;
}

} // namespace

std::string ToAnsi(const std::wstring& text) {
    return ToCodePage(text, CP_ACP);
}

std::string ToUtf8(const std::wstring& text) {
    return ToCodePage(text, CP_UTF8);
}

std::wstring FromAnsi(const char* text) {
    if (text == nullptr || *text == '\0') return {};
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) return {};
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), size);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

std::wstring FromAnsi(const std::string& text) {
    return FromAnsi(text.c_str());
}

std::string ToAnsiBounded(const std::wstring& text, size_t maxBytes) {
    return ToAnsiBounded(text, maxBytes, CP_ACP);
}

std::string ToAnsiBounded(const std::wstring& text, size_t maxBytes, unsigned codePage) {
    std::string ansi = ToCodePage(text, codePage);
    if (ansi.size() <= maxBytes) return ansi;
    // Walk whole characters so that a lead byte is never left without its
    // trail byte.
    size_t end = 0;
    while (end < ansi.size()) {
        size_t width = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(ansi[end])) ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    ansi.resize(end);
    return ansi;
}

std::wstring FormatText(const wchar_t* format, ...) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        int written = _vsnwprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size())
            return std::wstring(buffer.data(), static_cast<size_t>(written));
        buffer.resize(buffer.size() * 2);
    }
}
