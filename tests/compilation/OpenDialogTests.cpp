// The Open dialog seam: splitting its result buffer, and the platform's dialog
// itself, driven the way a user fills it in.
#include "compilation/FileChooser.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::wstring>;

Paths Split(const std::wstring& buffer) {
    return SplitOpenDialogResult(buffer.data(), buffer.size());
}

TEST(OpenDialogResult, OneFileIsItsFullPath) {
    EXPECT_EQ(Paths{L"C:\\Music\\a.wav"}, Split(std::wstring(L"C:\\Music\\a.wav\0\0", 16)));
    // Whatever follows the terminating empty string is not looked at.
    EXPECT_EQ(Paths{L"C:\\a.wav"}, Split(std::wstring(L"C:\\a.wav\0\0junk\0", 15)));
}

TEST(OpenDialogResult, AFolderAndNamesAreJoinedInTheirOrder) {
    EXPECT_EQ((Paths{L"C:\\Music\\b.mp3", L"C:\\Music\\a.wav", L"C:\\Music\\c d.ogg"}),
              Split(std::wstring(L"C:\\Music\0b.mp3\0a.wav\0c d.ogg\0\0", 30)));
    // A drive's root already ends in a backslash.
    EXPECT_EQ((Paths{L"C:\\a.wav", L"C:\\b.wma"}),
              Split(std::wstring(L"C:\\\0a.wav\0b.wma\0\0", 17)));
}

TEST(OpenDialogResult, NeverReadsPastItsCapacity) {
    EXPECT_TRUE(Split(std::wstring(L"\0", 1)).empty());
    EXPECT_TRUE(SplitOpenDialogResult(L"", 0).empty());
    // A name cut off by the end of the buffer is not taken.
    EXPECT_TRUE(Split(L"C:\\Music\\a.w").empty());
    EXPECT_EQ(Paths{L"C:\\Music\\a.wav"}, Split(std::wstring(L"C:\\Music\0a.wav\0b.m", 18)));
}

// --- The platform's dialog, answered from a timer inside its modal loop ---

struct OpenDialogScript {
    HWND owner = nullptr;
    std::vector<std::wstring> typed; // file-name entries, each followed by OK
    bool cancel = false;
    size_t step = 0;
    int ticks = 0;
    HWND foundOwner = nullptr;
    std::vector<std::wstring> fileTypes;
    int selectedType = -1;
    bool readOnlyBoxShown = true;
    HWND fileList = nullptr;
    LONG fileListStyle = 0;
};
OpenDialogScript g_script;

BOOL CALLBACK KeepVisibleDialog(HWND window, LPARAM result) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

HWND FindOpenDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), KeepVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK KeepFileList(HWND window, LPARAM result) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wstring(name) != WC_LISTVIEWW) return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

// What the flags show: the kind of dialog and what it lets the user do.
void ReadDialogLook(HWND dialog) {
    g_script.readOnlyBoxShown = IsWindowVisible(GetDlgItem(dialog, chx1)) != FALSE;
    EnumChildWindows(dialog, KeepFileList, reinterpret_cast<LPARAM>(&g_script.fileList));
    if (g_script.fileList) g_script.fileListStyle = GetWindowLongW(g_script.fileList, GWL_STYLE);
}

void ReadFileTypes(HWND dialog) {
    HWND types = GetDlgItem(dialog, cmb1);
    auto count = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        g_script.fileTypes.emplace_back(text);
    }
    g_script.selectedType = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
}

void CALLBACK DriveOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindOpenDialog();
    // Never leave a test hanging in the dialog.
    if (++g_script.ticks > 200) {
        if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (dialog == nullptr) return;
    if (g_script.step == 0) {
        g_script.foundOwner = GetWindow(dialog, GW_OWNER);
        ReadFileTypes(dialog);
        ReadDialogLook(dialog);
    }
    if (g_script.cancel || g_script.step >= g_script.typed.size()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    const std::wstring& entry = g_script.typed[g_script.step++];
    // Newer layouts name the file-name box cmb13, older ones edt1.
    for (int id : {cmb13, edt1})
        if (HWND box = GetDlgItem(dialog, id)) SetWindowTextW(box, entry.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

class OpenDialog : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder =
            std::wstring(temp) + L"quillotune-open-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_folder.c_str(), nullptr);
        for (const wchar_t* name : {L"a.wav", L"b.mp3", L"c.ogg", L"notes.txt"}) {
            HANDLE file = CreateFileW((m_folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, file);
            CloseHandle(file);
        }
        m_owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        g_script = OpenDialogScript{};
        g_script.owner = m_owner;
    }
    void TearDown() override {
        DestroyWindow(m_owner);
        for (const wchar_t* name : {L"a.wav", L"b.mp3", L"c.ogg", L"notes.txt"})
            DeleteFileW((m_folder + L"\\" + name).c_str());
        RemoveDirectoryW(m_folder.c_str());
    }

    bool Choose(Paths& paths) {
        UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveOpenDialog);
        bool chosen = OpenFileChooser().ChooseAudioFiles(m_owner, paths);
        KillTimer(nullptr, timer);
        return chosen;
    }

    std::wstring m_folder;
    HWND m_owner = nullptr;
};

TEST_F(OpenDialog, OffersTheAudioFiltersAndJoinsAMultipleSelection) {
    g_script.typed = {m_folder, L"\"b.mp3\" \"a.wav\""};
    Paths paths;
    ASSERT_TRUE(Choose(paths));
    EXPECT_EQ(m_owner, g_script.foundOwner);
    EXPECT_EQ((std::vector<std::wstring>{L"All Supported (*.wav, *.mp3...)", L"Wav Files (*.wav)",
                                         L"MP3 Files (*.mp3)", L"Ogg Files (*.ogg)",
                                         L"Wma Files (*.wma)"}),
              g_script.fileTypes);
    EXPECT_EQ(0, g_script.selectedType);
    // An explorer-style dialog for several files at once, no read-only box.
    ASSERT_NE(nullptr, g_script.fileList);
    EXPECT_EQ(0, g_script.fileListStyle & LVS_SINGLESEL);
    EXPECT_FALSE(g_script.readOnlyBoxShown);
    ASSERT_EQ(2u, paths.size());
    // The dialog may list the names in its own order; each comes as a full path.
    EXPECT_TRUE((paths == Paths{m_folder + L"\\b.mp3", m_folder + L"\\a.wav"}) ||
                (paths == Paths{m_folder + L"\\a.wav", m_folder + L"\\b.mp3"}));
}

TEST_F(OpenDialog, OneFileComesAsItsFullPath) {
    g_script.typed = {m_folder + L"\\c.ogg"};
    Paths paths;
    ASSERT_TRUE(Choose(paths));
    EXPECT_EQ(Paths{m_folder + L"\\c.ogg"}, paths);
}

TEST_F(OpenDialog, CancelChoosesNothing) {
    g_script.cancel = true;
    Paths paths{L"untouched"};
    EXPECT_FALSE(Choose(paths));
    EXPECT_EQ(Paths{L"untouched"}, paths);
    EXPECT_EQ(m_owner, g_script.foundOwner);
}

} // namespace
