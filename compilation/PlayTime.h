// Play times as the track list and the totals line show them: whole seconds
// written as hours, minutes and seconds, and read back from that text.
#pragma once

#include <string>

// "%02d:%02d:%02d" with truncating division, so a negative time prints its
// non-zero fields with a minus sign; the hours field has no upper limit.
std::wstring FormatPlayTime(int seconds);

// The seconds a play-time cell states. Each field between the colons is read
// the way atoi reads it (leading digits, 0 when there are none), so hours of
// three or more digits count in full.
long long ReadPlayTime(const std::wstring& text);

// The totals line for `songs` rows lasting `totalSeconds`, with the time left
// on a 74- and an 80-minute disc (negative once the disc is full).
std::wstring FormatTotalsLine(int songs, int totalSeconds);

constexpr int kSeconds74MinuteDisc = 74 * 60;
constexpr int kSeconds80MinuteDisc = 80 * 60;
