// Files dropped on the dialog: what a drop carries and what it adds.
#include "compilation/DroppedFiles.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A drop as Explorer builds it: DROPFILES, then the zero-separated paths.
HDROP BuildDrop(const std::vector<std::wstring>& paths, bool wide = true) {
    std::string bytes;
    for (const std::wstring& path : paths) {
        std::wstring zeroed = path + L'\0';
        if (wide)
            bytes.append(reinterpret_cast<const char*>(zeroed.data()), zeroed.size() * 2);
        else
            for (wchar_t c : zeroed)
                bytes += static_cast<char>(c);
    }
    bytes.append(wide ? 2 : 1, '\0');
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide;
    std::memcpy(header + 1, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// A folder of its own under the temporary folder, removed again.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        m_path = std::wstring(base) + L"quillotune-drop-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() {
        std::wstring from = m_path + L'\0';
        SHFILEOPSTRUCTW remove{};
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.c_str();
        remove.fFlags = FOF_NO_UI;
        SHFileOperationW(&remove);
    }
    const std::wstring& Path() const { return m_path; }
    std::wstring Make(const std::wstring& name, bool folder = false) const {
        std::wstring path = m_path + L"\\" + name;
        if (folder)
            CreateDirectoryW(path.c_str(), nullptr);
        else
            CloseHandle(
                CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        return path;
    }

private:
    std::wstring m_path;
};

TEST(DropContents, AreThePathsInTheirOrderWideOrNot) {
    const std::vector<std::wstring> paths = {L"C:\\Music\\b side.mp3", L"C:\\a.wav", L"D:\\Album"};
    for (bool wide : {true, false}) {
        HDROP drop = BuildDrop(paths, wide);
        EXPECT_EQ(paths, PathsOfDrop(drop)) << (wide ? "wide" : "ANSI");
        DragFinish(drop);
    }
}

TEST(DropContents, FoldersGiveTheirAudioFilesInNameOrderInPlace) {
    TempFolder temp;
    std::wstring album = temp.Make(L"Album", true);
    for (const wchar_t* name : {L"Album\\Track 10.mp3", L"Album\\Track 2.wav", L"Album\\cover.jpg",
                                L"Album\\b.OGG", L"Album\\A.wma", L"Album\\Disc 2.wav\\"})
        temp.Make(name, name[std::wcslen(name) - 1] == L'\\');
    temp.Make(L"Album\\Disc 2.wav\\inner.wav");
    std::wstring empty = temp.Make(L"Empty", true);
    std::wstring notes = temp.Make(L"notes.txt");

    std::vector<std::wstring> files =
        FilesToAdd({L"C:\\missing.mp3", album, notes, empty, album + L"\\"});

    const std::vector<std::wstring> inAlbum = {L"A.wma", L"b.OGG", L"Track 2.wav", L"Track 10.mp3"};
    std::vector<std::wstring> expected = {L"C:\\missing.mp3"};
    for (const std::wstring& name : inAlbum)
        expected.push_back(album + L"\\" + name);
    expected.push_back(notes);
    for (const std::wstring& name : inAlbum)
        expected.push_back(album + L"\\" + name);
    EXPECT_EQ(expected, files);
}

} // namespace
