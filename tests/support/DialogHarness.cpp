#include "tests/support/DialogHarness.h"

#include <commctrl.h>

bool ScriptedFileChooser::ChooseAudioFiles(HWND, std::vector<std::wstring>& paths) {
    ++m_calls;
    if (m_next >= m_selections.size()) return false;
    const auto& selection = m_selections[m_next++];
    if (!selection) return false;
    paths = *selection;
    return true;
}

DialogHarness::DialogHarness() = default;

DialogHarness::~DialogHarness() {
    if (dialog && dialog->Hwnd() != nullptr) DestroyWindow(dialog->Hwnd());
    Pump();
}

bool DialogHarness::Start() {
    dialog = std::make_unique<CDodezOvurerDlg>(engine.Api(), files);
    dialog->SetShellOpen([this](const ShellCall& call) { shellCalls.push_back(call); });
    bool created = dialog->Create();
    Pump();
    return created;
}

HWND DialogHarness::Window() const { return dialog ? dialog->Hwnd() : nullptr; }
HWND DialogHarness::Item(int id) const { return GetDlgItem(Window(), id); }

void DialogHarness::Click(int id) {
    SendMessageW(Item(id), BM_CLICK, 0, 0);
    Pump();
}

void DialogHarness::Command(int id, int code) {
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    Pump();
}

void DialogHarness::Tick(UINT_PTR timerId) {
    SendMessageW(Window(), WM_TIMER, timerId, 0);
    Pump();
}

void DialogHarness::Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // Timer ticks are sent by the tests themselves; the real ones are
        // dropped so that no test depends on time.
        if (message.message == WM_TIMER && message.hwnd == Window()) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring DialogHarness::Title() const { return Text(0); }

std::wstring DialogHarness::Text(int id) const {
    HWND window = id == 0 ? Window() : Item(id);
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

bool DialogHarness::Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
bool DialogHarness::Visible(int id) const {
    return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
}
bool DialogHarness::Checked(int id) const {
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::wstring> DialogHarness::InformationLines() const {
    std::vector<std::wstring> lines;
    HWND list = Item(IDC_INFORMATION);
    auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t line[4096] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::vector<std::wstring>> DialogHarness::Rows() const {
    std::vector<std::vector<std::wstring>> rows;
    HWND list = Item(IDC_TRACKS);
    auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < 3; ++column) {
            wchar_t cell[1024] = {};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = cell;
            item.cchTextMax = 1024;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            cells.emplace_back(cell);
        }
        rows.push_back(cells);
    }
    return rows;
}

void DialogHarness::SelectRows(const std::vector<int>& rows) {
    HWND list = Item(IDC_TRACKS);
    LVITEMW clear{};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (int row : rows) {
        LVITEMW select{};
        select.state = LVIS_SELECTED;
        select.stateMask = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&select));
    }
}

std::vector<int> DialogHarness::SelectedRows() const {
    std::vector<int> rows;
    HWND list = Item(IDC_TRACKS);
    auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        if (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED)
            rows.push_back(row);
    return rows;
}

int DialogHarness::FocusedRow() const {
    return static_cast<int>(SendMessageW(Item(IDC_TRACKS), LVM_GETNEXTITEM,
                                         static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void DialogHarness::AppendRow(const std::wstring& path, const std::wstring& playTime) {
    HWND list = Item(IDC_TRACKS);
    auto row = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::wstring number = std::to_wstring(row + 1);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = number.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const std::wstring* cells[] = {&path, &playTime};
    for (int column = 1; column <= 2; ++column) {
        LVITEMW cell{};
        cell.iSubItem = column;
        cell.pszText = const_cast<wchar_t*>(cells[column - 1]->c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&cell));
    }
}
