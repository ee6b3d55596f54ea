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
    // The most whole characters whose text fits. Their text only grows with
    // each character taken, so halving finds them, in any code page: single
    // or double bytes, or UTF-8 with up to four. A count that would end
    // between the halves of a surrogate pair takes the pair's first half back.
    auto whole = [&](size_t count) {
        if (count > 0 && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF) --count;
        return text.substr(0, count);
    };
    size_t fits = 0;
    size_t tooMany = text.size();
    while (tooMany - fits > 1) {
        size_t middle = fits + (tooMany - fits) / 2;
        if (ToCodePage(whole(middle), codePage).size() <= maxBytes)
            fits = middle;
        else
            tooMany = middle;
    }
    return ToCodePage(whole(fits), codePage);
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
