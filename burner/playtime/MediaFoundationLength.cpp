#include "burner/playtime/MediaFoundationLength.h"

#include "burner/audio/MediaFoundation.h"
#include "base/PinnedThread.h"

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

} // namespace

MediaFoundationLength MeasureWithMediaFoundation(const wchar_t* path, unsigned long timeoutMs) {
    MediaFoundationLength failed;
    failed.outcome = MediaFoundationOutcome::Unavailable;
    // The answer is shared by the asker and the thread that asks: whichever
    // lets go last frees it, so an asker that gave up waiting leaves the
    // thread nothing dangling.
    auto answer = std::make_shared<MediaFoundationLength>();
    auto answered =
        std::make_shared<UniqueKernelHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*answered) return failed;
    UniqueKernelHandle thread =
        StartPinnedThread([answer, answered, question = std::wstring(path)] {
            *answer = Query(question.c_str());
            SetEvent(answered->Get());
        });
    if (!thread) return failed;
    // Media Foundation under Wine has been seen never to return for a cut
    // ASF header; the user adding files must not wait for ever.
    if (WaitForSingleObject(answered->Get(), timeoutMs) != WAIT_OBJECT_0) {
        MediaFoundationLength late;
        late.outcome = MediaFoundationOutcome::TimedOut;
        return late;
    }
    return *answer;
}
