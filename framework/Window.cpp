#include "framework/Window.h"

#include <commctrl.h>

namespace {

// The window property under which a window's object is found.
constexpr wchar_t kObjectProperty[] = L"Quillotune.Object";

// The subclass id: one kind of subclass per object, so the object's address
// tells ours apart from anybody else's.
UINT_PTR SubclassIdOf(const CWnd* object) {
    return reinterpret_cast<UINT_PTR>(object);
}

HWND ChildOfNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM:
        return wParam != 0 ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

} // namespace

CWnd::~CWnd() {
    // A window must not outlive the object that handles its messages.
    if (m_hWnd != nullptr && m_subclassed && IsWindow(m_hWnd)) Detach();
}

CWnd* CWnd::FromHandle(HWND window) {
    if (window == nullptr) return nullptr;
    return static_cast<CWnd*>(GetPropW(window, kObjectProperty));
}

bool CWnd::AttachControl(HWND control) {
    m_hWnd = control;
    return control != nullptr;
}

bool CWnd::SubclassWindow(HWND window) {
    if (window == nullptr || m_subclassed) return false;
    m_hWnd = window;
    OnAttached();
    if (!SetPropW(window, kObjectProperty, this)) return false;
    if (!SetWindowSubclass(window, SubclassProc, SubclassIdOf(this),
                           reinterpret_cast<DWORD_PTR>(this))) {
        RemovePropW(window, kObjectProperty);
        return false;
    }
    m_subclassed = true;
    return true;
}

bool CWnd::SubclassDlgItem(int id, HWND parent) {
    return SubclassWindow(::GetDlgItem(parent, id));
}

void CWnd::Detach() {
    if (m_subclassed) {
        RemoveWindowSubclass(m_hWnd, SubclassProc, SubclassIdOf(this));
        m_subclassed = false;
    }
    if (FromHandle(m_hWnd) == this) RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

bool CWnd::RegisterWindowClass(const wchar_t* className, UINT classStyle, HCURSOR cursor,
                               HBRUSH background, HICON icon) {
    WNDCLASSEXW wc{};
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu) {
    HWND window = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                  menu, GetModuleHandleW(nullptr), this);
    return window != nullptr;
}

std::wstring CWnd::GetWindowTextW() const {
    int length = GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void CWnd::SetWindowTextW(const std::wstring& text) const {
    ::SetWindowTextW(m_hWnd, text.c_str());
}

void CWnd::SetOuterHeight(int height) const {
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    SetWindowPos(m_hWnd, nullptr, window.left, window.top, window.right - window.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::PreTranslateMessage(MSG*) {
    return false;
}

bool CWnd::WalkPreTranslateTree(HWND top, MSG* message) {
    for (HWND window = message->hwnd; window != nullptr; window = GetParent(window)) {
        CWnd* object = FromHandle(window);
        if (object != nullptr && object->PreTranslateMessage(message)) return true;
        if (window == top) break;
    }
    return false;
}

bool CWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_subclassed) return DefSubclassProc(m_hWnd, message, wParam, lParam);
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = ChildOfNotification(message, wParam, lParam);
    if (child == nullptr || child == m_hWnd) return false;
    CWnd* object = FromHandle(child);
    if (object == nullptr) return false;
    return object->ProcessWindowMessage(Reflected(message), wParam, lParam, result);
}

LRESULT CWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result)) return result;
    if (ProcessWindowMessage(message, wParam, lParam, result)) return result;
    return DefaultProc(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<CWnd*>(refData);
    if (message == WM_NCDESTROY) {
        LRESULT result = self->HandleMessage(message, wParam, lParam);
        self->Detach();
        self->PostNcDestroy();
        return result;
    }
    (void)window;
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(window);
    if (self == nullptr && message == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self != nullptr) {
            self->m_hWnd = window;
            SetPropW(window, kObjectProperty, self);
            self->OnAttached();
        }
    }
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        LRESULT result = self->HandleMessage(message, wParam, lParam);
        RemovePropW(window, kObjectProperty);
        self->m_hWnd = nullptr;
        self->PostNcDestroy();
        return result;
    }
    return self->HandleMessage(message, wParam, lParam);
}
