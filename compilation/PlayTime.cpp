#include "compilation/PlayTime.h"

#include "base/Text.h"

#include <climits>
#include <cstdlib>

namespace {

std::wstring FormatFields(const wchar_t* format, int seconds) {
    return FormatText(format, seconds / 3600, seconds % 3600 / 60, seconds % 60);
}

// atoi's reading without its undefined overflow: a field too large for an
// int counts as the largest int of its sign.
long long ReadField(const std::wstring& field) {
    std::string ansi = ToAnsi(field);
    long value = std::strtol(ansi.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return value;
}

} // namespace

std::wstring FormatPlayTime(int seconds) {
    return FormatFields(L"%02d:%02d:%02d", seconds);
}

long long ReadPlayTime(const std::wstring& text) {
    size_t firstColon = text.find(L':');
    size_t secondColon =
        firstColon == std::wstring::npos ? std::wstring::npos : text.find(L':', firstColon + 1);
    long long hours = ReadField(text.substr(0, firstColon));
    long long minutes = 0;
    long long seconds = 0;
    if (firstColon != std::wstring::npos)
        minutes = ReadField(text.substr(firstColon + 1, secondColon - firstColon - 1));
    if (secondColon != std::wstring::npos) seconds = ReadField(text.substr(secondColon + 1));
    return hours * 3600 + minutes * 60 + seconds;
}

std::wstring FormatTotalsLine(int songs, int totalSeconds) {
    // Widened so that a huge total cannot overflow the subtraction.
    auto left = [totalSeconds](int disc) {
        long long difference = static_cast<long long>(disc) - totalSeconds;
        if (difference < INT_MIN) return INT_MIN;
        if (difference > INT_MAX) return INT_MAX;
        return static_cast<int>(difference);
    };
    return FormatText(L"%d songs, total time: ", songs) +
           FormatFields(L"%02d:%02d:%02d, ", totalSeconds) +
           FormatFields(L"time left:<74min disc> %02d:%02d:%02d ", left(kSeconds74MinuteDisc)) +
           FormatFields(L"<80min disc> %02d:%02d:%02d", left(kSeconds80MinuteDisc));
}
