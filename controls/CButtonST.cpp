#include "controls/CButtonST.h"

#include <initializer_list>

namespace {

int Width(const RECT& rect) {
    return rect.right - rect.left;
}
int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// One pen-drawn line through `points`, the DC's pen restored afterwards.
void DrawLines(HDC dc, COLORREF colour, std::initializer_list<POINT> points) {
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    SelectGuard selected(dc, pen.Get());
    auto point = points.begin();
    MoveToEx(dc, point->x, point->y, nullptr);
    for (++point; point != points.end(); ++point)
        LineTo(dc, point->x, point->y);
}

void FrameWith(HDC dc, const RECT& rect, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    FrameRect(dc, &rect, brush.Get());
}

// Width and height of an icon, taken as twice its hot spot. False when the
// icon cannot be read.
bool ReadIconSize(HICON icon, int& width, int& height) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    // GetIconInfo hands us copies of the icon's bitmaps to delete.
    UniqueBitmap mask(info.hbmMask);
    UniqueBitmap colour(info.hbmColor);
    width = static_cast<int>(info.xHotspot * 2);
    height = static_cast<int>(info.yHotspot * 2);
    return true;
}

} // namespace

// Every message the button answers; the reflected ones come from its parent.
#define ON_REFLECTED_CTLCOLOR(message) ON_MESSAGE(Reflected(message), OnReflectedCtlColor)
const MessageEntry<CButtonST> CButtonST::kMessageMap[] = {
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode),                     // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(BM_SETSTYLE, OnSetStyle),                         // LRESULT (WPARAM style, LPARAM)
    ON_MESSAGE_MAYBE(Reflected(WM_COMMAND), OnReflectedCommand), // bool (.., LRESULT&)
    ON_REFLECTED_CTLCOLOR(WM_CTLCOLORBTN),                       // LRESULT (WPARAM hdc, LPARAM)
    ON_REFLECTED_CTLCOLOR(WM_CTLCOLORSTATIC),
    ON_REFLECTED_CTLCOLOR(WM_CTLCOLOREDIT),
    ON_REFLECTED_CTLCOLOR(WM_CTLCOLORLISTBOX),
    ON_REFLECTED_CTLCOLOR(WM_CTLCOLORSCROLLBAR),
    ON_MESSAGE(Reflected(WM_DRAWITEM), OnReflectedDrawItem), // LRESULT (WPARAM, LPARAM dis)
    ON_MESSAGE(WM_ENABLE, OnEnable),                         // LRESULT (WPARAM enabled, LPARAM)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange),         // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck),                     // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck),                     // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClk),           // LRESULT (WPARAM keys, LPARAM pt)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove),                   // LRESULT (WPARAM keys, LPARAM pt)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave),                 // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocus),                   // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(WM_ACTIVATE, OnActivate),                     // LRESULT (WPARAM state, LPARAM)
    ON_MESSAGE(WM_CANCELMODE, OnCancelMode),                 // LRESULT (WPARAM, LPARAM)
};
#undef ON_REFLECTED_CTLCOLOR

CButtonST::CButtonST() {
    ResetColors(false);
}

CButtonST::~CButtonST() = default;

bool CButtonST::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result);
}

// --- Configuration -----------------------------------------------------------

DWORD CButtonST::UseIconResources(int firstIconId, int secondIconId) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto load = [instance](int id) -> HICON {
        if (id == 0) return nullptr;
        // Width and height 0 without LR_DEFAULTSIZE: the resource's own size.
        return static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    };
    return UseIconHandles(load(firstIconId), load(secondIconId));
}

DWORD CButtonST::UseIconHandles(HICON first, HICON second) {
    m_firstIcon = IconInfo{};
    m_secondIcon = IconInfo{};
    m_firstIcon.icon.Reset(first);
    m_secondIcon.icon.Reset(second);

    DWORD outcome = 0;
    for (IconInfo* info : {&m_firstIcon, &m_secondIcon}) {
        if (info->icon && !ReadIconSize(info->icon.Get(), info->width, info->height)) outcome = 1;
    }
    if (outcome != 0) {
        m_firstIcon = IconInfo{};
        m_secondIcon = IconInfo{};
    }
    if (m_hWnd != nullptr) Invalidate();
    return outcome;
}

void CButtonST::UseFlatLook(bool flat, bool repaint) {
    m_flat = flat;
    if (repaint && m_hWnd != nullptr) Invalidate();
}

void CButtonST::ResetColors(bool repaint) {
    m_backgroundOver = m_backgroundNormal = m_backgroundFocused = GetSysColor(COLOR_BTNFACE);
    m_foregroundOver = m_foregroundNormal = m_foregroundFocused = GetSysColor(COLOR_BTNTEXT);
    if (repaint && m_hWnd != nullptr) Invalidate();
}

// --- Taking over and messages ------------------------------------------------

bool CButtonST::AttachControl(HWND control) {
    return SubclassWindow(control);
}

void CButtonST::OnAttached() {
    LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) m_defaultButton = true;
    SetWindowLongPtrW(m_hWnd, GWL_STYLE,
                      (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CButtonST::OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
    // An owner-drawn button would otherwise not count as a push button for the
    // dialog manager, which then never moves the default to it or from it.
    LRESULT code = DefaultProc(WM_GETDLGCODE, wParam, lParam);
    return code | (m_defaultButton ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT CButtonST::OnSetStyle(WPARAM wParam, LPARAM lParam) {
    const UINT type = static_cast<UINT>(wParam) & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON)
        m_defaultButton = true;
    else if (type == BS_PUSHBUTTON)
        m_defaultButton = false;
    // The dialog manager asks for a push-button type; the control stays owner-drawn.
    WPARAM style = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
    return DefaultProc(BM_SETSTYLE, style, lParam);
}

bool CButtonST::OnReflectedCommand(WPARAM wParam, LPARAM, LRESULT&) {
    if (HIWORD(wParam) == BN_CLICKED) SetFocus(m_hWnd);
    return false; // the parent's own command handler runs as usual
}

LRESULT CButtonST::OnReflectedCtlColor(WPARAM, LPARAM) {
    // The button paints all of itself; the parent paints nothing behind it.
    return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
}

LRESULT CButtonST::OnReflectedDrawItem(WPARAM, LPARAM lParam) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

LRESULT CButtonST::OnEnable(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefaultProc(WM_ENABLE, wParam, lParam);
    if (wParam == FALSE) {
        // A disabled button must not keep the keyboard: the focus goes on to
        // the next tab stop, or to the parent when there is none.
        HWND parent = GetParent(m_hWnd);
        if (parent != nullptr) {
            HWND next = GetNextDlgTabItem(parent, m_hWnd, FALSE);
            SetFocus(next != nullptr && next != m_hWnd ? next : parent);
        }
        EndMouseOver();
    }
    return result;
}

LRESULT CButtonST::OnSysColorChange(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefaultProc(WM_SYSCOLORCHANGE, wParam, lParam);
    ResetColors(true);
    return result;
}

LRESULT CButtonST::OnGetCheck(WPARAM, LPARAM) {
    return 0;
}

LRESULT CButtonST::OnSetCheck(WPARAM, LPARAM) {
    return 0;
}

LRESULT CButtonST::OnLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    // An owner-drawn button reports a double click as BN_DOUBLECLICKED and
    // swallows the second click; a quick second click is another press here.
    return DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CButtonST::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefaultProc(WM_MOUSEMOVE, wParam, lParam);
    if (!m_flat) return result;
    if ((wParam & MK_LBUTTON) != 0 && !m_mouseOver) return result;

    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(m_hWnd, &point);
    if (WindowFromPoint(point) != m_hWnd) {
        EndMouseOver();
        return result;
    }
    if (!m_mouseOver) {
        m_mouseOver = true;
        Invalidate();
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&track);
    }
    return result;
}

LRESULT CButtonST::OnMouseLeave(WPARAM wParam, LPARAM lParam) {
    EndMouseOver();
    return DefaultProc(WM_MOUSELEAVE, wParam, lParam);
}

LRESULT CButtonST::OnKillFocus(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefaultProc(WM_KILLFOCUS, wParam, lParam);
    EndMouseOver();
    return result;
}

LRESULT CButtonST::OnActivate(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefaultProc(WM_ACTIVATE, wParam, lParam);
    if (LOWORD(wParam) == WA_INACTIVE) EndMouseOver();
    return result;
}

LRESULT CButtonST::OnCancelMode(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefaultProc(WM_CANCELMODE, wParam, lParam);
    EndMouseOver();
    return result;
}

void CButtonST::EndMouseOver() {
    if (!m_flat || !m_mouseOver) return;
    m_mouseOver = false;
    Invalidate();
}

// --- Drawing -----------------------------------------------------------------

COLORREF CButtonST::BackgroundColour() const {
    if (m_mouseOver || m_pressed) return m_backgroundOver;
    return m_focused ? m_backgroundFocused : m_backgroundNormal;
}

COLORREF CButtonST::TextColour() const {
    if (m_mouseOver || m_pressed) return m_foregroundOver;
    return m_focused ? m_foregroundFocused : m_foregroundNormal;
}

void CButtonST::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    m_pressed = (item.itemState & ODS_SELECTED) != 0;
    m_focused = (item.itemState & ODS_FOCUS) != 0;
    m_disabled = (item.itemState & ODS_DISABLED) != 0;

    // The button's own font, also when drawn into a foreign DC (WM_PRINTCLIENT,
    // a memory bitmap) that has none selected.
    HGDIOBJ font =
        m_hWnd != nullptr ? reinterpret_cast<HGDIOBJ>(SendMessageW(WM_GETFONT)) : nullptr;
    if (font == nullptr) font = GetCurrentObject(dc, OBJ_FONT);
    SelectGuard selectedFont(dc, font);
    BkModeGuard transparent(dc, TRANSPARENT);

    RECT work = item.rcItem;
    PaintBackground(dc, work);
    PaintBorder(dc, work);

    const std::wstring caption = m_hWnd != nullptr ? GetWindowTextW() : std::wstring();
    const bool hasCaption = !caption.empty(); // a single space counts
    RECT captionRect = item.rcItem;
    if (m_firstIcon.icon)
        PaintIcon(dc, hasCaption, item.rcItem, captionRect, m_pressed, m_disabled);
    if (hasCaption)
        PaintCaption(dc, caption.c_str(), item.rcItem, captionRect, m_pressed, m_disabled);

    if (!m_flat && m_focused) {
        RECT focus = work;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void CButtonST::PaintBackground(HDC dc, RECT& rect) {
    if (!m_flat && (m_focused || m_defaultButton)) {
        FrameWith(dc, rect, RGB(0, 0, 0));
        InflateRect(&rect, -1, -1);
    }
    UniqueBrush face(CreateSolidBrush(BackgroundColour()));
    FillRect(dc, &rect, face.Get());
}

void CButtonST::PaintBorder(HDC dc, const RECT& rect) {
    const LONG l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    if (!m_flat) {
        if (m_pressed) {
            FrameWith(dc, rect, GetSysColor(COLOR_BTNSHADOW));
            return;
        }
        DrawLines(dc, GetSysColor(COLOR_BTNHIGHLIGHT), {{l, b - 1}, {l, t}, {r, t}});
        DrawLines(dc, GetSysColor(COLOR_3DLIGHT), {{l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1}});
        DrawLines(dc, GetSysColor(COLOR_3DDKSHADOW), {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}});
        DrawLines(dc, GetSysColor(COLOR_BTNSHADOW), {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}});
        return;
    }
    if (!m_drawBorder) return;
    RECT edge = rect;
    if (m_pressed)
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    else if (m_mouseOver)
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
}

void CButtonST::PaintIcon(HDC dc, bool hasCaption, const RECT& itemRect, RECT& captionRect,
                          bool pressed, bool disabled) {
    const IconInfo& icon =
        (pressed || m_mouseOver || !m_secondIcon.icon) ? m_firstIcon : m_secondIcon;
    if (!icon.icon) return;

    RECT image = itemRect;
    if (hasCaption) {
        image.left += m_imageMargin;
        captionRect.left += icon.width + m_imageMargin;
    } else {
        image.left += (Width(image) - icon.width) / 2;
    }
    image.top += (Height(image) - icon.height) / 2;
    if (pressed) OffsetRect(&image, m_pressOffsetX, m_pressOffsetY);

    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.icon.Get()), 0, image.left + 5,
               image.top, Width(image) - 5, Height(image),
               DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void CButtonST::PaintCaption(HDC dc, const wchar_t* text, const RECT&, RECT& captionRect,
                             bool pressed, bool disabled) {
    if (pressed) OffsetRect(&captionRect, m_pressOffsetX, m_pressOffsetY);

    constexpr UINT kFormat = DT_WORDBREAK | DT_CENTER;
    RECT block = captionRect;
    DrawTextW(dc, text, -1, &block, kFormat | DT_CALCRECT);
    OffsetRect(&block, (Width(captionRect) - Width(block)) / 2,
               (Height(captionRect) - Height(block)) / 2);

    BkModeGuard transparent(dc, TRANSPARENT);
    if (disabled) {
        // Embossed: a light copy one pixel down and right, the shadow on top.
        RECT light = block;
        OffsetRect(&light, 1, 1);
        {
            TextColorGuard colour(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextW(dc, text, -1, &light, kFormat);
        }
        TextColorGuard colour(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextW(dc, text, -1, &block, kFormat);
        return;
    }
    TextColorGuard colour(dc, TextColour());
    DrawTextW(dc, text, -1, &block, kFormat);
}
