#include "tests/support/MessageBoxCatcher.h"

namespace {

MessageBoxCatcher* g_catcher = nullptr;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

} // namespace

LRESULT CALLBACK CatchingHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_catcher != nullptr) {
        auto window = reinterpret_cast<HWND>(wParam);
        if (ClassOf(window) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr)
            g_catcher->Caught(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

MessageBoxCatcher::MessageBoxCatcher() {
    g_catcher = this;
    m_hook = SetWindowsHookExW(WH_CBT, CatchingHook, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    if (g_catcher == this) g_catcher = nullptr;
}

MessageBoxCatcher::ThreadHook::ThreadHook()
    : m_hook(SetWindowsHookExW(WH_CBT, CatchingHook, nullptr, GetCurrentThreadId())) {}

MessageBoxCatcher::ThreadHook::~ThreadHook() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
}

void MessageBoxCatcher::QueueAnswers(std::vector<int> answers) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int answer : answers) m_answers.push_back(answer);
}

void MessageBoxCatcher::Caught(HWND box) {
    CaughtBox caught;
    caught.caption = TextOf(box);
    caught.text = TextOf(GetDlgItem(box, 0xFFFF));
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL})
        if (GetDlgItem(box, id) != nullptr) caught.buttons.push_back(id);
    caught.owner = GetWindow(box, GW_OWNER);
    caught.thread = GetCurrentThreadId();
    int answer = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        m_boxes.push_back(caught);
    }
    if (m_whileShown) m_whileShown(caught);
    if (answer == 0) answer = caught.buttons.empty() ? IDOK : caught.buttons.front();
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

void MessageBoxCatcher::WhileShown(std::function<void(const CaughtBox&)> look) {
    m_whileShown = std::move(look);
}

std::vector<CaughtBox> MessageBoxCatcher::Boxes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

size_t MessageBoxCatcher::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes.size();
}

void MessageBoxCatcher::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxes.clear();
}
