// Conversions between UTF-16 and the system's ANSI code page (the engine's
// event texts and the volume label are ANSI), and UTF-8.
#pragma once

#include <string>

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const char* text);
std::wstring FromAnsi(const std::string& text);
std::string ToUtf8(const std::wstring& text);

// The ANSI form of `text`, cut to at most `maxBytes` bytes without splitting a
// character: not a double-byte one, nor a UTF-8 sequence where the ANSI code
// page is UTF-8 (65001), nor a surrogate pair.
std::string ToAnsiBounded(const std::wstring& text, size_t maxBytes);
// The same in a given code page (the ANSI one is the system's choice, so this
// is how a double-byte page or UTF-8 can be tried anywhere).
std::string ToAnsiBounded(const std::wstring& text, size_t maxBytes, unsigned codePage);

// printf into a std::wstring.
std::wstring FormatText(const wchar_t* format, ...);
