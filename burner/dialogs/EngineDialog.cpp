#include "burner/dialogs/EngineDialog.h"

#include "burner/EngineState.h"
#include "burner/Recorders.h"

#include <commctrl.h>

#include <algorithm>

namespace {

HMODULE EngineModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&EngineModule), &module);
    return module;
}

} // namespace

INT_PTR EngineDialog::RunModal(int templateId, const wchar_t* caption) {
    m_caption = caption != nullptr ? caption : L"";
    // The progress bar's class, for programs that never asked for it.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    INT_PTR result =
        DialogBoxParamW(EngineModule(), MAKEINTRESOURCEW(templateId), GetActiveWindow(),
                        &EngineDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_window = nullptr;
    return result;
}

INT_PTR CALLBACK EngineDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* dialog = reinterpret_cast<EngineDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    try {
        if (message == WM_INITDIALOG) {
            dialog->m_window = window;
            if (!dialog->m_caption.empty()) SetWindowTextW(window, dialog->m_caption.c_str());
            dialog->OnInit();
            dialog->CentreOnOwner();
            return TRUE;
        }
        return dialog->OnMessage(message, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        // Out of memory inside a handler: close rather than go on half done.
        EndDialog(window, -1);
        return TRUE;
    }
}

void EngineDialog::CentreOnOwner() const {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT area = work;
    HWND owner = GetWindow(m_window, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    RECT own{};
    GetWindowRect(m_window, &own);
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    // Over the owner's middle, but never off the screen's working area.
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EngineDialog::SetItemText(int id, const std::wstring& text) const {
    SetDlgItemTextW(m_window, id, text.c_str());
}

void EngineDialog::End(INT_PTR result) {
    EndDialog(m_window, result);
}

std::wstring EngineDialog::ChosenRecorderText() {
    uint32_t device = EngineState::Instance().Device();
    for (const RecorderInfo& recorder : ListRecorders())
        if (DeviceValueOf(recorder.text.c_str()) == device) return recorder.text;
    return L"(none)";
}
