#include "burner/preview/PreviewPlayer.h"

#include "base/PinnedThread.h"
#include "burner/audio/CdAudioSource.h"
#include "burner/playtime/PlayTime.h"
#include "burner/preview/WaveOutput.h"

#include <vector>

namespace {

// Far longer than the queued buffers last.
constexpr DWORD kStopWaitMs = 2000;

bool Stopped(HANDLE stop) {
    return WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
}

// Decodes ahead only as far as the device's buffers need, so stopping
// never waits for more than one decoded block.
void PlayFile(const std::wstring& path, HANDLE stop) {
    // A damaged file can keep the system's decoder from ever answering; the
    // play-time readers refuse such files before it sees them. A sound
    // shorter than a second is measured as 0 seconds, and plays all the same.
    int32_t seconds = 0;
    if (MeasurePlayTime(path.c_str(), &seconds) != 0 || Stopped(stop)) return;
    CdAudioSource source;
    if (!source.Open(path) || Stopped(stop)) return;
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
                // A decoding error ends the preview where it is. The end may
                // come with the last frames (a resampler's tail) appended:
                // they are in pending and play like the others.
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
    // The thread shares the stop event, so one left behind never finds it gone.
    auto stop = std::make_shared<UniqueKernelHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*stop) return;
    m_thread = StartPinnedThread([path, stop] { PlayFile(path, stop->Get()); });
    if (m_thread) m_stop = std::move(stop);
}

void PreviewPlayer::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    StopLocked();
}

void PreviewPlayer::StopLocked() {
    if (!m_thread) return;
    SetEvent(m_stop->Get());
    // Waits for the playback thread, which calls nothing of the program's
    // and leaves at its next decoded block or finished buffer, closing its
    // output. A decoder that never answers (a damaged file can do that) is
    // left behind after a while: by then the few queued buffers have played
    // out, so the sound has stopped all the same.
    WaitForSingleObject(m_thread.Get(), kStopWaitMs);
    m_thread.Reset();
    m_stop.reset();
}
