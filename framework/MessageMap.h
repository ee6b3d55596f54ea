// Message maps as data. A class lists the messages it answers in a table of
// entries; each entry's macro names the handler and shows its typed signature.
//
//   const MessageEntry<CMyDlg> CMyDlg::kMessageMap[] = {
//       ON_COMMAND(IDC_ADD, OnAdd),          // void OnAdd()
//       ON_WM_TIMER(OnTimer),                // void OnTimer(UINT_PTR id)
//   };
//
// and forwards to it from ProcessWindowMessage:
//
//   bool CMyDlg::ProcessWindowMessage(UINT m, WPARAM w, LPARAM l, LRESULT& r) {
//       return DispatchMessageMap(kMessageMap, *this, m, w, l, r) ||
//              CDialog::ProcessWindowMessage(m, w, l, r);
//   }
//
// Each class declares `using Self = ThisClass;` for the macros.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

// Notifications from a child are first offered to the child's own object as
// "reflected" messages: kReflectBase + the original message.
constexpr UINT kReflectBase = WM_APP + 0x2000;
constexpr UINT Reflected(UINT message) {
    return kReflectBase + message;
}

constexpr UINT kAnyCode = 0xFFFFFFFFu;
constexpr UINT_PTR kAnyId = ~static_cast<UINT_PTR>(0);

template <class T> struct MessageEntry {
    UINT message;
    UINT code;   // WM_COMMAND / WM_NOTIFY notification code, kAnyCode for any
    UINT_PTR id; // WM_COMMAND / WM_NOTIFY control id, kAnyId for any
    // Returns true when the message was handled, with the result in `result`.
    bool (*handler)(T& self, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

namespace message_map_detail {

inline bool Matches(UINT entryCode, UINT_PTR entryId, UINT code, UINT_PTR id) {
    return (entryCode == kAnyCode || entryCode == code) && (entryId == kAnyId || entryId == id);
}

} // namespace message_map_detail

template <class T, size_t N>
bool DispatchMessageMap(const MessageEntry<T> (&map)[N], T& self, UINT message, WPARAM wParam,
                        LPARAM lParam, LRESULT& result) {
    using message_map_detail::Matches;
    for (const MessageEntry<T>& entry : map) {
        if (entry.message != message) continue;
        if (message == WM_COMMAND || message == Reflected(WM_COMMAND)) {
            if (!Matches(entry.code, entry.id, HIWORD(wParam), LOWORD(wParam))) continue;
        } else if (message == WM_NOTIFY || message == Reflected(WM_NOTIFY)) {
            auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (!Matches(entry.code, entry.id, header->code, header->idFrom)) continue;
        }
        if (entry.handler(self, wParam, lParam, result)) return true;
    }
    return false;
}

// --- Entry macros. Each shows the handler's signature. ---

// void fn()  -- a button's click (BN_CLICKED) from control `id`.
#define ON_COMMAND(id, fn)                                                                         \
    {                                                                                              \
        WM_COMMAND, BN_CLICKED, static_cast<UINT_PTR>(id),                                         \
            [](Self& self, WPARAM, LPARAM, LRESULT& result) {                                      \
                self.fn();                                                                         \
                result = 0;                                                                        \
                return true;                                                                       \
            }                                                                                      \
    }

// LRESULT fn(NMHDR* header)  -- WM_NOTIFY `code` from control `id`.
#define ON_NOTIFY(code, id, fn)                                                                    \
    {                                                                                              \
        WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT_PTR>(id),                             \
            [](Self& self, WPARAM, LPARAM lParam, LRESULT& result) {                               \
                result = self.fn(reinterpret_cast<NMHDR*>(lParam));                                \
                return true;                                                                       \
            }                                                                                      \
    }

// LRESULT fn(WPARAM, LPARAM)  -- any message, always handled.
#define ON_MESSAGE(message, fn)                                                                    \
    {                                                                                              \
        static_cast<UINT>(message), kAnyCode, kAnyId,                                              \
            [](Self& self, WPARAM wParam, LPARAM lParam, LRESULT& result) {                        \
                result = self.fn(wParam, lParam);                                                  \
                return true;                                                                       \
            }                                                                                      \
    }

// bool fn(WPARAM, LPARAM, LRESULT& result)  -- any message; returning false
// passes it on (to the base class, the parent or the default handling).
#define ON_MESSAGE_MAYBE(message, fn)                                                              \
    {                                                                                              \
        static_cast<UINT>(message), kAnyCode, kAnyId,                                              \
            [](Self& self, WPARAM wParam, LPARAM lParam, LRESULT& result) {                        \
                return self.fn(wParam, lParam, result);                                            \
            }                                                                                      \
    }

// int fn(CREATESTRUCTW* create)  -- -1 fails the creation.
#define ON_WM_CREATE(fn)                                                                           \
    {                                                                                              \
        WM_CREATE, kAnyCode, kAnyId, [](Self& self, WPARAM, LPARAM lParam, LRESULT& result) {      \
            result = self.fn(reinterpret_cast<CREATESTRUCTW*>(lParam));                            \
            return true;                                                                           \
        }                                                                                          \
    }

// void fn()
#define ON_WM_PAINT(fn)                                                                            \
    {                                                                                              \
        WM_PAINT, kAnyCode, kAnyId, [](Self& self, WPARAM, LPARAM, LRESULT& result) {              \
            self.fn();                                                                             \
            result = 0;                                                                            \
            return true;                                                                           \
        }                                                                                          \
    }

// void fn(UINT_PTR timerId)
#define ON_WM_TIMER(fn)                                                                            \
    {                                                                                              \
        WM_TIMER, kAnyCode, kAnyId, [](Self& self, WPARAM wParam, LPARAM, LRESULT& result) {       \
            self.fn(static_cast<UINT_PTR>(wParam));                                                \
            result = 0;                                                                            \
            return true;                                                                           \
        }                                                                                          \
    }

// void fn()
#define ON_WM_CLOSE(fn)                                                                            \
    {                                                                                              \
        WM_CLOSE, kAnyCode, kAnyId, [](Self& self, WPARAM, LPARAM, LRESULT& result) {              \
            self.fn();                                                                             \
            result = 0;                                                                            \
            return true;                                                                           \
        }                                                                                          \
    }

// HBRUSH fn(HDC dc, HWND control, UINT message)  -- every WM_CTLCOLOR* message;
// a null brush passes it on to the default handling.
#define ON_WM_CTLCOLOR(fn)                                                                         \
    ON_CTLCOLOR_ONE(WM_CTLCOLORSTATIC, fn), ON_CTLCOLOR_ONE(WM_CTLCOLORBTN, fn),                   \
        ON_CTLCOLOR_ONE(WM_CTLCOLOREDIT, fn), ON_CTLCOLOR_ONE(WM_CTLCOLORLISTBOX, fn),             \
        ON_CTLCOLOR_ONE(WM_CTLCOLORDLG, fn), ON_CTLCOLOR_ONE(WM_CTLCOLORSCROLLBAR, fn)
#define ON_CTLCOLOR_ONE(message, fn)                                                               \
    {                                                                                              \
        message, kAnyCode, kAnyId, [](Self& self, WPARAM wParam, LPARAM lParam, LRESULT& result) { \
            HBRUSH brush =                                                                         \
                self.fn(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message);   \
            result = reinterpret_cast<LRESULT>(brush);                                             \
            return brush != nullptr;                                                               \
        }                                                                                          \
    }
