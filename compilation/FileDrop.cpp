#include "compilation/FileDrop.h"

#include "compilation/DroppedFiles.h"

#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <utility>

// The OLE drop target: it says "copy" to a drag of files while drops are
// allowed, and hands a drop on as a drop message to the window.
class FileDrop::Target final : public IDropTarget {
public:
    Target(HWND window, FileDrop::Allowed allowed)
        : m_window(window), m_allowed(std::move(allowed)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        m_carriesFiles = CarriesFiles(data);
        return Answer(effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        return Answer(effect);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        m_carriesFiles = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        m_carriesFiles = false;
        if (effect == nullptr) return E_INVALIDARG;
        *effect = DROPEFFECT_NONE;
        if (!m_allowed()) return S_OK;
        HGLOBAL copy = CopyOfDrop(data);
        if (copy == nullptr) return S_OK;
        if (!PostMessageW(m_window, WM_DROPFILES, reinterpret_cast<WPARAM>(copy), 0)) {
            GlobalFree(copy);
            return S_OK;
        }
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }

private:
    static FORMATETC DropFormat() {
        return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    }

    static bool CarriesFiles(IDataObject* data) {
        FORMATETC format = DropFormat();
        return data != nullptr && data->QueryGetData(&format) == S_OK;
    }

    // The drop's file list as a memory block of our own, for the drop message
    // to read and free once the drag is over.
    static HGLOBAL CopyOfDrop(IDataObject* data) {
        FORMATETC format = DropFormat();
        STGMEDIUM medium{};
        if (data == nullptr || FAILED(data->GetData(&format, &medium))) return nullptr;
        HGLOBAL copy = nullptr;
        SIZE_T size = medium.tymed == TYMED_HGLOBAL ? GlobalSize(medium.hGlobal) : 0;
        if (size >= sizeof(DROPFILES)) {
            const void* source = GlobalLock(medium.hGlobal);
            copy = source ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
            if (void* target = copy ? GlobalLock(copy) : nullptr) {
                std::memcpy(target, source, size);
                GlobalUnlock(copy);
            }
            if (source) GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
        return copy;
    }

    HRESULT Answer(DWORD* effect) const {
        if (effect == nullptr) return E_INVALIDARG;
        *effect = m_carriesFiles && m_allowed() ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }

    std::atomic<ULONG> m_references{1};
    HWND m_window;
    FileDrop::Allowed m_allowed;
    bool m_carriesFiles = false;
};

FileDrop::FileDrop(Receiver receive, Allowed allowed)
    : m_receive(std::move(receive)), m_allowed(std::move(allowed)) {}

FileDrop::~FileDrop() {
    Revoke();
}

void FileDrop::Accept(HWND window) {
    Revoke();
    m_window = window;
    DragAcceptFiles(window, TRUE);
    // OLE needs its own start on this thread (COM alone is not enough); a
    // thread already in the multithreaded apartment cannot have it.
    m_oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    if (!m_oleInitialized) return;
    m_target = new Target(window, m_allowed);
    if (FAILED(RegisterDragDrop(window, m_target))) {
        m_target->Release();
        m_target = nullptr;
    }
}

void FileDrop::Revoke() {
    if (m_window == nullptr) return;
    if (m_target != nullptr) {
        RevokeDragDrop(m_window); // fails only when the window is gone already
        m_target->Release();
        m_target = nullptr;
    }
    if (m_oleInitialized) OleUninitialize();
    m_oleInitialized = false;
    if (IsWindow(m_window)) DragAcceptFiles(m_window, FALSE);
    m_window = nullptr;
}

void FileDrop::OnDropFiles(HDROP drop) const {
    std::vector<std::wstring> dropped = PathsOfDrop(drop);
    DragFinish(drop);
    // Checked again here: a burn may have started since the drop was posted.
    if (!m_allowed() || dropped.empty()) return;
    m_receive(FilesToAdd(dropped));
}
