// RAII owners for the platform's handles: files, kernel objects, modules,
// GDI objects, COM interfaces, searches and hooks. Owned and borrowed handles
// are different types: an Unique* deletes what it holds, a plain handle
// never does.
#pragma once

#include <windows.h>

#include <utility>

// One owner template; Traits says how to free and what "empty" is.
template <class Traits> class UniqueHandleT {
public:
    using Handle = typename Traits::Handle;

    UniqueHandleT() = default;
    explicit UniqueHandleT(Handle handle) : m_handle(handle) {}
    ~UniqueHandleT() { Reset(); }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    UniqueHandleT(UniqueHandleT&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandleT& operator=(UniqueHandleT&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Empty(); }

    void Reset(Handle handle = Traits::Empty()) {
        if (m_handle != Traits::Empty()) Traits::Free(m_handle);
        m_handle = handle;
    }
    Handle Release() { return std::exchange(m_handle, Traits::Empty()); }

private:
    Handle m_handle = Traits::Empty();
};

template <class H> struct GdiObjectTraits {
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { DestroyIcon(h); }
};
struct CursorTraits {
    using Handle = HCURSOR;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { DestroyCursor(h); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { FreeLibrary(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { DeleteDC(h); }
};
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { CloseHandle(h); }
};
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Free(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Free(Handle h) { FindClose(h); }
};
struct HookTraits {
    using Handle = HHOOK;
    static Handle Empty() { return nullptr; }
    static void Free(Handle h) { UnhookWindowsHookEx(h); }
};

using UniquePen = UniqueHandleT<GdiObjectTraits<HPEN>>;
using UniqueBrush = UniqueHandleT<GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueHandleT<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandleT<GdiObjectTraits<HBITMAP>>;
using UniqueIcon = UniqueHandleT<IconTraits>;
using UniqueCursor = UniqueHandleT<CursorTraits>;
using UniqueModule = UniqueHandleT<ModuleTraits>;
using UniqueMemoryDc = UniqueHandleT<MemoryDcTraits>;
using UniqueKernelHandle = UniqueHandleT<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandleT<FileHandleTraits>;
using UniqueFindHandle = UniqueHandleT<FindHandleTraits>;
using UniqueHook = UniqueHandleT<HookTraits>;

// Releases a COM interface at the end of its scope.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T** Receive() {
        Reset();
        return &m_p;
    }
    explicit operator bool() const { return m_p != nullptr; }
    void Reset() {
        if (m_p != nullptr) m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};

// Selects an object into a device context for the guard's lifetime. Declare
// the guard after the object it selects, so the old object is back in the DC
// before the new one is deleted.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (m_old != nullptr && m_old != HGDI_ERROR) SelectObject(m_dc, m_old);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// BeginPaint/EndPaint.
class PaintGuard {
public:
    explicit PaintGuard(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
    ~PaintGuard() { EndPaint(m_window, &m_paint); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;

    HDC Dc() const { return m_dc; }
    const PAINTSTRUCT& Paint() const { return m_paint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// GetDC/ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc() {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// SetBkMode/SetTextColor/SetTextAlign restored on scope exit.
class BkModeGuard {
public:
    BkModeGuard(HDC dc, int mode) : m_dc(dc), m_old(SetBkMode(dc, mode)) {}
    ~BkModeGuard() { SetBkMode(m_dc, m_old); }
    BkModeGuard(const BkModeGuard&) = delete;
    BkModeGuard& operator=(const BkModeGuard&) = delete;

private:
    HDC m_dc;
    int m_old;
};

class TextColorGuard {
public:
    TextColorGuard(HDC dc, COLORREF colour) : m_dc(dc), m_old(SetTextColor(dc, colour)) {}
    ~TextColorGuard() { SetTextColor(m_dc, m_old); }
    TextColorGuard(const TextColorGuard&) = delete;
    TextColorGuard& operator=(const TextColorGuard&) = delete;

private:
    HDC m_dc;
    COLORREF m_old;
};
