#include "burner/playtime/MediaFoundationLength.h"

#include "burner/audio/MediaFoundation.h"

#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <memory>
#include <string>

namespace {

MediaFoundationLength Query(const wchar_t* path) {
    MediaFoundationLength length;
    MediaFoundationScope platform;
    if (!platform.IsReady()) {
        length.outcome = MediaFoundationOutcome::Unavailable;
        return length;
    }
    ComPtr<IMFSourceReader> reader;
    if (FAILED(MFCreateSourceReaderFromURL(path, nullptr, reader.Receive()))) return length;
    ComPtr<IMFMediaType> audio;
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

// One question to Media Foundation, shared by the asker and the thread that
// asks: whichever lets go last frees it, so an asker that gave up waiting
// leaves the thread nothing dangling.
struct PendingQuery {
    std::wstring path;
    MediaFoundationLength answer;
    HANDLE answered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~PendingQuery() {
        if (answered != nullptr) CloseHandle(answered);
    }
};

struct QueryThread {
    std::shared_ptr<PendingQuery> query;
    HMODULE pinnedModule; // keeps this code loaded while the thread runs in it
};

DWORD WINAPI RunQuery(void* parameter) {
    QueryThread* thread = static_cast<QueryThread*>(parameter);
    thread->query->answer = Query(thread->query->path.c_str());
    SetEvent(thread->query->answered);
    HMODULE module = thread->pinnedModule;
    delete thread;
    FreeLibraryAndExitThread(module, 0);
}

HMODULE PinThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunQuery),
                       &module);
    return module;
}

} // namespace

MediaFoundationLength MeasureWithMediaFoundation(const wchar_t* path, unsigned long timeoutMs) {
    auto query = std::make_shared<PendingQuery>();
    query->path = path;
    MediaFoundationLength failed;
    failed.outcome = MediaFoundationOutcome::Unavailable;
    HMODULE module = PinThisModule();
    if (query->answered == nullptr || module == nullptr) return failed;
    auto* thread = new QueryThread{query, module};
    HANDLE handle = CreateThread(nullptr, 0, RunQuery, thread, 0, nullptr);
    if (handle == nullptr) {
        delete thread;
        FreeLibrary(module);
        return failed;
    }
    CloseHandle(handle);
    // Media Foundation under Wine has been seen never to return for a cut
    // ASF header; the user adding files must not wait for ever.
    if (WaitForSingleObject(query->answered, timeoutMs) != WAIT_OBJECT_0) {
        MediaFoundationLength late;
        late.outcome = MediaFoundationOutcome::TimedOut;
        return late;
    }
    return query->answer;
}
