#include "burner/preview/PreviewPlayer.h"

#include "burner/run/EngineThread.h"
#include "burner/audio/CdAudioSource.h"
#include "burner/audio/MediaFoundation.h"
#include "burner/preview/WaveOutput.h"

#include <vector>

namespace {

bool Stopped(HANDLE stop) {
    return WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
}

// Decodes ahead only as far as the device's buffers need, so stopping
// never waits for more than one decoded block.
void PlayFile(const std::wstring& path, HANDLE stop) {
    MediaFoundationScope mediaFoundation;
    if (!mediaFoundation.IsReady()) return;
    CdAudioSource source;
    if (!source.Open(path)) return;
    WaveOutput output;
    if (!output.Open()) return;

    std::vector<int16_t> pending;
    size_t offset = 0;
    bool decoded = false;
    const size_t wanted = WaveOutput::kBufferFrames * 2;
    for (;;) {
        for (;;) {
            while (!decoded && pending.size() - offset < wanted) {
                pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(offset));
                offset = 0;
                // A decoding error ends the preview where it is.
                decoded = source.Read(pending) != CdAudioSource::Status::Data;
                if (Stopped(stop)) return;
            }
            if (offset == pending.size()) break;
            size_t taken = output.Queue(pending.data() + offset, pending.size() - offset);
            if (taken == 0) break;
            offset += taken;
        }
        if (output.Failed() || (decoded && offset == pending.size() && output.Drained())) return;
        // Waits for the device to finish a buffer or for Stop; neither
        // depends on the program.
        HANDLE waits[] = {stop, output.BufferDone()};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    }
}

} // namespace

PreviewPlayer& PreviewPlayer::Instance() {
    static PreviewPlayer player;
    return player;
}

void PreviewPlayer::Play(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    StopLocked();
    UniqueKernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop) return;
    HANDLE stopEvent = stop.Get();
    m_thread.Reset(StartEngineThread([path, stopEvent] { PlayFile(path, stopEvent); }));
    if (m_thread) m_stop = std::move(stop);
}

void PreviewPlayer::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    StopLocked();
}

void PreviewPlayer::StopLocked() {
    if (!m_thread) return;
    SetEvent(m_stop.Get());
    // Waits for the playback thread, which calls nothing of the program's
    // and leaves at its next decoded block or finished buffer; its output
    // is closed, and so silent, when it ends.
    WaitForSingleObject(m_thread.Get(), INFINITE);
    m_thread.Reset();
    m_stop.Reset();
}
