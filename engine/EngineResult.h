#pragma once

#include <string>

// "error: " and the engine's text, cut so that the line and its terminating
// zero fit the 2048-unit buffer the dialog builds it in.
std::wstring BuildErrorLine(const std::wstring& engineText);
