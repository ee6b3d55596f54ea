// The engine's events carry 8-bit text in the system's ANSI code page.
#pragma once

#include <string>

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
std::string ToUtf8(const std::wstring& text);

// Why a file or folder could not be used, as the end of a sentence
// ("it does not exist.").
std::wstring FileErrorReason(unsigned long win32Error);
