// The real main dialog in-process with a scripted engine, Open dialog and
// message boxes, driven by messages and read the way a user sees it.
#pragma once

#include "app/CDodezOvurerDlg.h"
#include "compilation/FileChooser.h"
#include "tests/support/ScriptedEngine.h"

#include <deque>
#include <memory>
#include <mutex>

std::wstring TextOf(HWND window);

struct CaughtBox {
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // IDOK, IDYES, IDNO, IDCANCEL present in the box
    HWND owner = nullptr;
};

// Catches message boxes with a WH_CBT hook on the creating thread: each box is
// recorded and answered at once.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() { s_catcher = this; }
    ~MessageBoxCatcher() { s_catcher = nullptr; }

    // The answers to give, in order; then IDOK, or the box's first button.
    void QueueAnswers(std::vector<int> answers) { m_answers = std::move(answers); }
    // Called with each box while it is still open (to look at the dialog behind it).
    std::function<void(const CaughtBox&)> whileShown;

    std::vector<CaughtBox> Boxes() const;
    size_t Count() const { return Boxes().size(); }

    // Catches the boxes of another thread too (one raising engine events).
    struct ThreadHook {
        HHOOK hook = HookThisThread();
        ~ThreadHook() { UnhookWindowsHookEx(hook); }
    };

private:
    static HHOOK HookThisThread();
    static LRESULT CALLBACK CatchingHook(int code, WPARAM wParam, LPARAM lParam);
    void Caught(HWND box);

    static inline MessageBoxCatcher* s_catcher = nullptr;
    ThreadHook m_hook;
    mutable std::mutex m_mutex;
    std::vector<CaughtBox> m_boxes;
    std::vector<int> m_answers;
};

class DialogHarness : public IFileChooser {
public:
    ~DialogHarness() override;

    // Creates the dialog (runs its initialisation). False if creation failed.
    bool Start();

    ScriptedEngine engine;
    MessageBoxCatcher boxes;
    std::unique_ptr<CDodezOvurerDlg> dialog;
    CListCtrl tracks;
    CListBox information;
    // What the dialog asked the shell to open (nothing is really opened).
    std::vector<ShellCall> shellCalls;
    // The Open dialog: each use takes the next selection (an empty one: Cancel).
    std::deque<std::vector<std::wstring>> selections;
    int openDialogUses = 0;
    bool ChooseAudioFiles(HWND owner, std::vector<std::wstring>& paths) override;

    HWND Window() const { return dialog ? dialog->Hwnd() : nullptr; }
    HWND Item(int id) const { return GetDlgItem(Window(), id); }

    // A user's click on a button (BM_CLICK: nothing happens when disabled).
    void Click(int id) { SendAndPump(Item(id), BM_CLICK, 0, 0); }
    // The command a control would send, whatever its state.
    void Command(int id, int code = BN_CLICKED) {
        SendAndPump(Window(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Tick(UINT_PTR timerId) { SendAndPump(Window(), WM_TIMER, timerId, 0); }
    // Handles every message already queued, except the dialog's real timer
    // ticks: tests send those themselves so that none depends on time.
    void Pump();

    std::wstring Title() const { return Text(0); }
    std::wstring Text(int id) const { return TextOf(id == 0 ? Window() : Item(id)); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::vector<std::wstring> InformationLines() const;
    int OuterHeight() const;

    void SelectRows(const std::vector<int>& rows); // 0-based; clears others
    // Appends a row directly (tests that need rows without the Add path).
    void AppendRow(const std::wstring& path, const std::wstring& playTime);

private:
    void SendAndPump(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
