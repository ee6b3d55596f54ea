// Files dropped on the dialog: what a drop carries and what it adds.
#include "compilation/DroppedFiles.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
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

// Files dragged as a file manager drags them, for DoDragDrop: on offer as a
// drop block, and let go on the third look at the buttons, by when the window
// under the pointer has been entered and asked (`atRelease` runs just then).
// Records the effects the target answered while hovering.
class FileDrag final : public IDataObject, public IDropSource {
public:
    FileDrag(std::vector<std::wstring> paths, std::function<void()> atRelease)
        : m_paths(std::move(paths)), m_atRelease(std::move(atRelease)) {}

    std::vector<DWORD> hovering;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDataObject)
            *object = static_cast<IDataObject*>(this);
        if (iid == IID_IDropSource) *object = static_cast<IDropSource*>(this);
        return *object != nullptr ? S_OK : E_NOINTERFACE; // on the test's stack: not counted
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        if (++m_looks < 3) return S_OK;
        if (m_atRelease) m_atRelease();
        return DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        hovering.push_back(effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        HRESULT offered = QueryGetData(format);
        if (offered != S_OK) return offered;
        *medium = {};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = BuildDrop(m_paths); // the receiver's to free
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                               : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::vector<std::wstring> m_paths;
    std::function<void()> m_atRelease;
    int m_looks = 0;
};

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

// What Add makes of C:\a.wav (245 s) and C:\b.mp3 (unreadable): each file's
// play time asked in order, a box for the failure, one row and the totals.
void ExpectAddedAsAdd(DialogHarness& h) {
    EXPECT_EQ((std::vector<std::string>{"GetPlayTime(C:\\a.wav,0)", "GetPlayTime(C:\\b.mp3,0)"}),
              h.engine.CallsNamed("GetPlayTime"));
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Failed to load:C:\\b.mp3", boxes[0].text);
    ASSERT_EQ(1, h.tracks.GetItemCount());
    EXPECT_EQ(L"C:\\a.wav", h.tracks.GetItemText(0, 1));
    EXPECT_EQ(L"1 songs, total time: 00:04:05, time left:<74min disc> 01:09:55 "
              L"<80min disc> 01:15:55",
              h.Text(IDC_TOTALS));
}

// On the real dialog: a drop adds as Add does, once per file, and not while burning.
TEST(DropOnDialog, AddsLikeAddAndIsRefusedWhileBurning) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.engine.playTimes = {{L"C:\\a.wav", 245}};
    auto drop = [&](std::vector<std::wstring> paths) {
        SendMessageW(h.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(BuildDrop(paths)), 0);
        h.Pump();
    };

    h.dialog->Session().SetBurning(true);
    drop({L"C:\\a.wav"});
    EXPECT_TRUE(h.engine.CallsNamed("GetPlayTime").empty());
    EXPECT_EQ(0, h.tracks.GetItemCount());

    h.dialog->Session().SetBurning(false);
    drop({L"C:\\a.wav", L"C:\\b.mp3"});
    ExpectAddedAsAdd(h);
}

// The same by OLE, dragged over the track list and let go as a file manager
// does: copied while Add is allowed, refused while hovering during a burn and
// at the drop when a burn has begun meanwhile.
TEST(DropOnDialog, OleDragAddsLikeAddAndIsRefusedWhileBurning) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    // The dialog's own timers would tick inside the drag's loop.
    KillTimer(h.Window(), TIMER_RULER_REFRESH);
    KillTimer(h.Window(), TIMER_UPDATE_QUESTION);
    h.engine.playTimes = {{L"C:\\a.wav", 245}};
    RECT list{};
    GetWindowRect(h.Item(IDC_TRACKS), &list);
    ASSERT_TRUE(SetCursorPos((list.left + list.right) / 2, (list.top + list.bottom) / 2));
    struct Outcome {
        HRESULT result;
        DWORD effect;
        std::vector<DWORD> hovering;
    };
    auto drag = [&](std::vector<std::wstring> paths, std::function<void()> atRelease = nullptr) {
        FileDrag drag(std::move(paths), std::move(atRelease));
        DWORD effect = DROPEFFECT_SCROLL;
        HRESULT result =
            DoDragDrop(&drag, &drag, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
        h.Pump();
        return Outcome{result, effect, drag.hovering};
    };
    auto nothingAdded = [&](const Outcome& outcome, const char* when) {
        EXPECT_EQ(DROPEFFECT_NONE, outcome.effect) << when;
        EXPECT_TRUE(h.engine.CallsNamed("GetPlayTime").empty()) << when;
        EXPECT_EQ(0, h.tracks.GetItemCount()) << when;
        EXPECT_EQ(0u, h.boxes.Count()) << when;
    };

    h.dialog->Session().SetBurning(true);
    Outcome burning = drag({L"C:\\a.wav"});
    ASSERT_FALSE(burning.hovering.empty());
    EXPECT_EQ(std::vector<DWORD>(burning.hovering.size(), DROPEFFECT_NONE), burning.hovering);
    nothingAdded(burning, "while burning");

    h.dialog->Session().SetBurning(false);
    Outcome late = drag({L"C:\\a.wav"}, [&] { h.dialog->Session().SetBurning(true); });
    ASSERT_FALSE(late.hovering.empty());
    EXPECT_EQ(std::vector<DWORD>(late.hovering.size(), DROPEFFECT_COPY), late.hovering);
    nothingAdded(late, "burn begun at the drop");

    h.dialog->Session().SetBurning(false);
    Outcome taken = drag({L"C:\\a.wav", L"C:\\b.mp3"});
    EXPECT_EQ(DRAGDROP_S_DROP, taken.result);
    EXPECT_EQ(DROPEFFECT_COPY, taken.effect);
    ExpectAddedAsAdd(h);
}

} // namespace
