#include "tests/controls/ControlTestSupport.h"

namespace {
constexpr wchar_t kHostClass[] = L"QuillotuneTestHost";
}

ControlHost::ControlHost() {
    RegisterWindowClass(kHostClass, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                        GetSysColorBrush(COLOR_BTNFACE), nullptr);
    CreateEx(0, kHostClass, L"Control host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 320,
             nullptr);
    m_font.Reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             DEFAULT_PITCH, L"Tahoma"));
    PumpMessages();
}

ControlHost::~ControlHost() {
    if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
    PumpMessages();
}

HWND ControlHost::AddButton(int id, const wchar_t* caption, const RECT& place, DWORD type) {
    HWND button = CreateWindowExW(
        0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | type, place.left, place.top,
        place.right - place.left, place.bottom - place.top, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    return button;
}

HWND ControlHost::AddStatic(int id, const wchar_t* text, const RECT& place) {
    HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top,
                                 m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    return label;
}

int ControlHost::CountCommands(int id, int code) const {
    int count = 0;
    for (const Command& command : commands)
        if (command.id == id && command.code == code) ++count;
    return count;
}

bool ControlHost::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND) return false;
    commands.push_back(Command{LOWORD(wParam), HIWORD(wParam)});
    result = 0;
    return true;
}

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    m_dc.Reset(CreateCompatibleDC(screen.Get()));
    m_bitmap.Reset(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_bits = static_cast<const DWORD*>(bits);
    m_oldBitmap = SelectObject(m_dc.Get(), m_bitmap.Get());
    RECT all{0, 0, width, height};
    UniqueBrush brush(CreateSolidBrush(fill));
    FillRect(m_dc.Get(), &all, brush.Get());
}

Canvas::~Canvas() {
    SelectObject(m_dc.Get(), m_oldBitmap);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    DWORD pixel = m_bits[y * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

RECT Canvas::BoundsOf(const Match& match) const {
    return BoundsOf(match, RECT{0, 0, m_width, m_height});
}

RECT Canvas::BoundsOf(const Match& match, const RECT& area) const {
    RECT bounds{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (match(At(x, y))) {
                if (x < bounds.left) bounds.left = x;
                if (y < bounds.top) bounds.top = y;
                if (x + 1 > bounds.right) bounds.right = x + 1;
                if (y + 1 > bounds.bottom) bounds.bottom = y + 1;
            }
    if (bounds.left >= bounds.right) return RECT{0, 0, 0, 0};
    return bounds;
}

int Canvas::Count(const Match& match) const {
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (match(At(x, y))) ++count;
    return count;
}

std::function<bool(COLORREF)> Is(COLORREF colour) {
    return [colour](COLORREF pixel) { return pixel == colour; };
}

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

HICON MakeSolidIcon(COLORREF colour, int size) {
    WindowDc screen(nullptr);
    UniqueBitmap image(CreateCompatibleBitmap(screen.Get(), size, size));
    UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    {
        UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        RECT all{0, 0, size, size};
        {
            SelectGuard selected(dc.Get(), image.Get());
            UniqueBrush brush(CreateSolidBrush(colour));
            FillRect(dc.Get(), &all, brush.Get());
        }
        SelectGuard selected(dc.Get(), mask.Get());
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); // opaque
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), image.Get()};
    return CreateIconIndirect(&info);
}

DRAWITEMSTRUCT DrawRequest(HWND window, HDC dc, UINT state) {
    DRAWITEMSTRUCT request{};
    request.CtlType = ODT_BUTTON;
    request.CtlID = static_cast<UINT>(GetDlgCtrlID(window));
    request.itemAction = ODA_DRAWENTIRE;
    request.itemState = state;
    request.hwndItem = window;
    request.hDC = dc;
    GetClientRect(window, &request.rcItem);
    return request;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring BesideTheProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + name;
}
