// The platform's wave output at the disc's format (44,100 Hz, 16-bit,
// stereo), fed through a few buffers that are refilled as the device
// finishes them. Closing stops the sound at once.
#pragma once

#include "base/Handles.h"

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <vector>

class WaveOutput {
public:
    static constexpr size_t kBufferFrames = 4410; // 100 ms each
    static constexpr size_t kBufferCount = 4;

    WaveOutput() = default;
    ~WaveOutput();
    WaveOutput(const WaveOutput&) = delete;
    WaveOutput& operator=(const WaveOutput&) = delete;

    // False when there is no device to play on.
    bool Open();

    // Signalled whenever the device has finished a buffer.
    HANDLE BufferDone() const { return m_bufferDone.Get(); }

    // Queues up to one buffer of interleaved stereo samples from `samples`
    // and returns how many it took: 0 when every buffer is still queued.
    size_t Queue(const int16_t* samples, size_t count);

    // True once every queued buffer has been played.
    bool Drained() const;
    // The device refused a buffer: nothing more will play.
    bool Failed() const { return m_failed; }

private:
    struct Buffer {
        WAVEHDR header{};
        std::vector<int16_t> samples;
        bool queued = false;
    };

    HWAVEOUT m_device = nullptr;
    UniqueKernelHandle m_bufferDone;
    std::array<Buffer, kBufferCount> m_buffers;
    bool m_failed = false;
};
