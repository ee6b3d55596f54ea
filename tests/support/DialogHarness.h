// The real main dialog created in-process with a scripted engine and a
// scripted file chooser, driven by messages and read the way a user sees it.
#pragma once

#include "app/CDodezOvurerDlg.h"
#include "compilation/FileChooser.h"
#include "tests/support/MessageBoxCatcher.h"
#include "tests/support/ScriptedEngine.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Chooses the files a test asks for; each call takes the next selection.
class ScriptedFileChooser : public IFileChooser {
public:
    void QueueSelection(std::vector<std::wstring> paths) { m_selections.emplace_back(std::move(paths)); }
    void QueueCancel() { m_selections.emplace_back(std::nullopt); }
    bool ChooseAudioFiles(HWND owner, std::vector<std::wstring>& paths) override;
    int Calls() const { return m_calls; }

private:
    std::vector<std::optional<std::vector<std::wstring>>> m_selections;
    size_t m_next = 0;
    int m_calls = 0;
};

class DialogHarness {
public:
    DialogHarness();
    ~DialogHarness();

    // Creates the dialog (runs its initialisation). False if creation failed.
    bool Start();

    ScriptedEngine engine;
    ScriptedFileChooser files;
    MessageBoxCatcher boxes;
    std::unique_ptr<CDodezOvurerDlg> dialog;
    // What the dialog asked the shell to open (nothing is really opened).
    std::vector<ShellCall> shellCalls;

    HWND Window() const;
    HWND Item(int id) const;

    // A user's click on a button (BM_CLICK: nothing happens when disabled).
    void Click(int id);
    // The command a control would send, whatever its state.
    void Command(int id, int code = BN_CLICKED);
    void Tick(UINT_PTR timerId);
    // Handles every message already queued.
    void Pump();

    std::wstring Title() const;
    std::wstring Text(int id) const;
    bool Enabled(int id) const;
    bool Visible(int id) const;
    bool Checked(int id) const;
    std::vector<std::wstring> InformationLines() const;

    // Track list rows as the user sees them: {number, path, play time}.
    std::vector<std::vector<std::wstring>> Rows() const;
    void SelectRows(const std::vector<int>& rows); // 0-based; clears others
    std::vector<int> SelectedRows() const;
    int FocusedRow() const;
    // Appends a row directly (tests that need rows without the Add path).
    void AppendRow(const std::wstring& path, const std::wstring& playTime);
};
