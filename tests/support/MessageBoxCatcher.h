// Catches message boxes with a WH_CBT hook: each box is recorded (caption,
// text, buttons) and answered at once. Boxes shown on other threads are
// caught too when that thread installs a catcher of its own (CatchOnThisThread).
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct CaughtBox {
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // IDOK, IDYES, IDNO, IDCANCEL present in the box
    HWND owner = nullptr;
    DWORD thread = 0;
};

class MessageBoxCatcher {
public:
    // Installs the hook on the calling thread.
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    // The answers to give, in order; once used up, a box gets IDOK if it has
    // one, else its first button.
    void QueueAnswers(std::vector<int> answers);

    // Called with each box while it is still open, before it is answered
    // (on the thread that shows it): to look at the dialog behind a box.
    void WhileShown(std::function<void(const CaughtBox&)> look);

    std::vector<CaughtBox> Boxes() const;
    size_t Count() const;
    void Clear();

    // Installs a hook that records into the current catcher on this thread
    // (for a test thread that raises events); removed with the returned guard.
    class ThreadHook {
    public:
        ThreadHook();
        ~ThreadHook();
        ThreadHook(const ThreadHook&) = delete;
        ThreadHook& operator=(const ThreadHook&) = delete;

    private:
        HHOOK m_hook;
    };

private:
    friend LRESULT CALLBACK CatchingHook(int, WPARAM, LPARAM);
    void Caught(HWND box);

    HHOOK m_hook = nullptr;
    mutable std::mutex m_mutex;
    std::vector<CaughtBox> m_boxes;
    std::deque<int> m_answers;
    std::function<void(const CaughtBox&)> m_whileShown;
};
