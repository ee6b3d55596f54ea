// Turning a failed engine call into something the user sees: one "error: "
// line in the Information list and the same line in a message box.
#pragma once

#include "engine/EngineBinding.h"

#include <windows.h>

#include <cstdint>
#include <string>

class CListBox;
class CWnd;

// True for 0. For any other code: the engine's text for it as an "error: "
// line at the end of `information`, and the same line in a message box owned
// by `owner` (waiting for OK); then false.
bool CheckEngineResult(const EngineApi& engine, HWND owner, const CListBox& information,
                       int32_t code);

// The same, for objects that report many calls: the engine, the window that
// owns the boxes (read at each report) and the Information list.
struct EngineReport {
    const EngineApi& engine;
    const CWnd& owner;
    const CListBox& information;

    bool operator()(int32_t code) const;
};

// "error: " and the engine's text, cut so that the line and its terminating
// zero fit the 2048-unit buffer the dialog builds it in, never between the
// two halves of a surrogate pair.
std::wstring BuildErrorLine(const std::wstring& engineText);
