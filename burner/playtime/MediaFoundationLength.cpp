#include "burner/playtime/MediaFoundationLength.h"

#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <mutex>

namespace {

// Releases a COM interface it owns.
template <class T>
class Owned {
public:
    Owned() = default;
    ~Owned() {
        if (m_p != nullptr) m_p->Release();
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T** Receive() { return &m_p; }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};

// COM for the length of one call. A thread that already chose a single-
// threaded apartment keeps it; Media Foundation works from either.
class ComForThisCall {
public:
    ComForThisCall() : m_result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComForThisCall() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComForThisCall(const ComForThisCall&) = delete;
    ComForThisCall& operator=(const ComForThisCall&) = delete;
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

// Media Foundation stays started until the process ends: shutting it down
// while another thread of the engine may still use it would pull it away.
bool StartMediaFoundation() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] { started = SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET)); });
    return started;
}

} // namespace

MediaFoundationLength MeasureWithMediaFoundation(const wchar_t* path) {
    MediaFoundationLength length;
    ComForThisCall com;
    if (!com.Usable() || !StartMediaFoundation()) {
        length.outcome = MediaFoundationOutcome::Unavailable;
        return length;
    }
    Owned<IMFSourceReader> reader;
    if (FAILED(MFCreateSourceReaderFromURL(path, nullptr, reader.Receive()))) return length;
    Owned<IMFMediaType> audio;
    if (FAILED(reader->GetNativeMediaType(static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM),
                                          0, audio.Receive())))
        return length;
    PROPVARIANT value;
    PropVariantInit(&value);
    HRESULT hr = reader->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE),
                                                  MF_PD_DURATION, &value);
    if (SUCCEEDED(hr) && value.vt == VT_UI8) {
        length.outcome = MediaFoundationOutcome::Measured;
        length.duration = value.uhVal.QuadPart;
    }
    PropVariantClear(&value);
    return length;
}
