// Preview playback: one file at a time, decoded as a burn decodes it and
// played through the platform's wave output on a thread of its own. The
// thread never calls into the program, so stopping may wait for it.
#pragma once

#include "base/Handles.h"

#include <memory>
#include <mutex>
#include <string>

class PreviewPlayer {
public:
    static PreviewPlayer& Instance();

    // Stops whatever plays, then starts the file and returns at once. A file
    // that cannot be played, or a computer without sound, plays nothing.
    void Play(const std::wstring& path);

    // Stops whatever plays; returns once the sound has stopped.
    void Stop();

private:
    PreviewPlayer() = default;
    void StopLocked();

    std::mutex m_mutex; // serialises Play and Stop; the playback thread never takes it
    UniqueKernelHandle m_thread;
    std::shared_ptr<UniqueKernelHandle> m_stop;
};
