// The Open dialog behind a seam: the dialog asks an IFileChooser for the
// files to add, so tests can choose them.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // Fills `paths` with full paths in the order the user chose them; false
    // when the user cancelled (or the names did not fit).
    virtual bool ChooseAudioFiles(HWND owner, std::vector<std::wstring>& paths) = 0;
};

// The platform's Open dialog, multiple selection.
class OpenFileChooser : public IFileChooser {
public:
    // The function that shows the dialog, behind a seam so that tests can see
    // what it is asked for.
    using ShowOpenDialog = BOOL(WINAPI*)(OPENFILENAMEW* request);
    explicit OpenFileChooser(ShowOpenDialog show = GetOpenFileNameW) : m_show(show) {}

    bool ChooseAudioFiles(HWND owner, std::vector<std::wstring>& paths) override;

private:
    ShowOpenDialog m_show;
};

// Splits the Open dialog's result buffer: either one full path, or a folder
// followed by file names, each zero-terminated, the list ended by an empty
// string.
std::vector<std::wstring> SplitOpenDialogResult(const wchar_t* buffer, size_t capacity);
