#include "tests/support/DialogHarness.h"

#include <commctrl.h>

std::wstring TextOf(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

HHOOK MessageBoxCatcher::HookThisThread() {
    return SetWindowsHookExW(WH_CBT, CatchingHook, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK MessageBoxCatcher::CatchingHook(int code, WPARAM wParam, LPARAM lParam) {
    auto window = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = {};
    if (code == HCBT_ACTIVATE && s_catcher != nullptr && GetClassNameW(window, name, 16) &&
        std::wstring(name) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr)
        s_catcher->Caught(window);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCatcher::Caught(HWND box) {
    CaughtBox caught{TextOf(box), TextOf(GetDlgItem(box, 0xFFFF))};
    caught.owner = GetWindow(box, GW_OWNER);
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL})
        if (GetDlgItem(box, id) != nullptr) caught.buttons.push_back(id);
    int answer = caught.buttons.empty() ? IDOK : caught.buttons.front();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        size_t answered = m_boxes.size();
        if (answered < m_answers.size()) answer = m_answers[answered];
        m_boxes.push_back(caught);
    }
    if (whileShown) whileShown(caught);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

std::vector<CaughtBox> MessageBoxCatcher::Boxes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

DialogHarness::~DialogHarness() {
    if (Window() != nullptr) DestroyWindow(Window());
    Pump();
}

bool DialogHarness::Start() {
    dialog = std::make_unique<CDodezOvurerDlg>(engine.api, *this);
    dialog->SetShellOpen([this](const ShellCall& call) { shellCalls.push_back(call); });
    bool created = dialog->Create();
    tracks.AttachControl(Item(IDC_TRACKS));
    information.AttachControl(Item(IDC_INFORMATION));
    Pump();
    return created;
}

bool DialogHarness::ChooseAudioFiles(HWND, std::vector<std::wstring>& paths) {
    ++openDialogUses;
    if (selections.empty()) return false;
    paths = selections.front();
    selections.pop_front();
    return !paths.empty();
}

void DialogHarness::SendAndPump(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SendMessageW(window, message, wParam, lParam);
    Pump();
}

void DialogHarness::Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_TIMER && message.hwnd == Window()) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<std::wstring> DialogHarness::InformationLines() const {
    std::vector<std::wstring> lines;
    for (int i = 0; i < information.GetCount(); ++i)
        lines.push_back(information.GetText(i));
    return lines;
}

int DialogHarness::OuterHeight() const {
    RECT rect{};
    GetWindowRect(Window(), &rect);
    return rect.bottom - rect.top;
}

void DialogHarness::SelectRows(const std::vector<int>& rows) {
    tracks.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : rows)
        tracks.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void DialogHarness::AppendRow(const std::wstring& path, const std::wstring& playTime) {
    int row = tracks.GetItemCount();
    tracks.InsertItem(row, std::to_wstring(row + 1).c_str());
    tracks.SetItemText(row, 1, path.c_str());
    tracks.SetItemText(row, 2, playTime.c_str());
}
