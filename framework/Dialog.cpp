#include "framework/Dialog.h"

#include "framework/Application.h"

#include <cassert>
#include <vector>

namespace {

// The dialog being created on this thread, taken over by the creation hook
// when its window is made, so that it sees WM_CREATE like any other window.
thread_local CDialog* t_dialogInCreation = nullptr;
thread_local HHOOK t_creationHook = nullptr;

// Copies the template and clears its WS_VISIBLE style: the dialog is shown
// only once its initialisation has run and has not ended it.
std::vector<BYTE> LoadHiddenTemplate(UINT templateId) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));
    if (resource == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, resource);
    DWORD size = SizeofResource(module, resource);
    const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
    if (data == nullptr || size < sizeof(DLGTEMPLATE)) return {};
    std::vector<BYTE> copy(data, data + size);
    const bool extended =
        size >= 16 && copy[0] == 1 && copy[1] == 0 && copy[2] == 0xFF && copy[3] == 0xFF;
    DWORD* style = reinterpret_cast<DWORD*>(copy.data() + (extended ? 12 : 0));
    *style &= ~static_cast<DWORD>(WS_VISIBLE);
    return copy;
}

} // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
    // Destroying the window here would run its last messages through a dialog
    // whose derived part is already gone: the derived destructor does it.
    assert(m_hWnd == nullptr && "the derived dialog's destructor destroys the window");
}

BOOL CALLBACK CDialog::SendToChild(HWND child, LPARAM message) {
    const MSG& sent = *reinterpret_cast<const MSG*>(message);
    ::SendMessageW(child, sent.message, sent.wParam, sent.lParam);
    return TRUE;
}

LRESULT CALLBACK CDialog::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_dialogInCreation != nullptr) {
        CDialog* dialog = t_dialogInCreation;
        t_dialogInCreation = nullptr; // the first window is the dialog itself
        dialog->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(t_creationHook, code, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    // Everything is handled by the subclass in front of the dialog manager.
    return FALSE;
}

bool CDialog::Create() {
    std::vector<BYTE> dialogTemplate = LoadHiddenTemplate(m_templateId);
    if (dialogTemplate.empty()) return false;
    m_ended = false;
    m_result = -1;

    t_dialogInCreation = this;
    t_creationHook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    HWND window = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
        m_parent, DialogProc, reinterpret_cast<LPARAM>(this));
    if (t_creationHook != nullptr) UnhookWindowsHookEx(t_creationHook);
    t_creationHook = nullptr;
    t_dialogInCreation = nullptr;

    if (window == nullptr || !IsWindow(window)) return false;
    if (!m_ended) ShowWindow(window, SW_SHOWNORMAL);
    return true;
}

INT_PTR CDialog::DoModal() {
    if (!Create()) return -1;
    HWND window = m_hWnd;
    MSG message;
    while (!m_ended && m_hWnd != nullptr) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam)); // leave it for the outer loop
            break;
        }
        if (got == -1) break;
        CWinApp* app = CWinApp::Current();
        bool consumed = app != nullptr ? app->PreTranslateMessage(&message)
                                       : CWnd::WalkPreTranslateTree(window, &message);
        if (!consumed) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
    return m_result;
}

void CDialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_ended = true;
    if (m_hWnd != nullptr) {
        ShowWindow(m_hWnd, SW_HIDE);
        PostMessageW(m_hWnd, WM_NULL, 0, 0); // wake the loop if it is waiting
    }
}

void CDialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(dx);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(DataExchange&) {}

bool CDialog::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SYSCOLORCHANGE: {
        // The system tells only top-level windows; the controls (the icon
        // buttons among them) take their colours from the same scheme.
        MSG sent{nullptr, message, wParam, lParam};
        EnumChildWindows(m_hWnd, SendToChild, reinterpret_cast<LPARAM>(&sent));
        return false; // the default handling as well
    }
    case WM_INITDIALOG:
        result = OnInitDialog() ? TRUE : FALSE;
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 0) {
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                result = 0;
                return true;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
                result = 0;
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}
