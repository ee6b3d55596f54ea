#include "burner/preview/WaveOutput.h"

#include <algorithm>
#include <cstring>

WaveOutput::~WaveOutput() {
    if (m_device == nullptr) return;
    // Reset hands every queued buffer back at once, so they can be released.
    waveOutReset(m_device);
    for (Buffer& buffer : m_buffers)
        if (buffer.header.dwFlags & WHDR_PREPARED)
            waveOutUnprepareHeader(m_device, &buffer.header, sizeof buffer.header);
    waveOutClose(m_device);
}

bool WaveOutput::Open() {
    m_bufferDone.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!m_bufferDone) return false;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    MMRESULT result =
        waveOutOpen(&m_device, WAVE_MAPPER, &format,
                    reinterpret_cast<DWORD_PTR>(m_bufferDone.Get()), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        m_device = nullptr;
        return false;
    }
    for (Buffer& buffer : m_buffers) {
        buffer.samples.resize(kBufferFrames * 2);
        buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
        buffer.header.dwBufferLength = static_cast<DWORD>(buffer.samples.size() * sizeof(int16_t));
        if (waveOutPrepareHeader(m_device, &buffer.header, sizeof buffer.header) !=
            MMSYSERR_NOERROR)
            return false;
    }
    return true;
}

size_t WaveOutput::Queue(const int16_t* samples, size_t count) {
    for (Buffer& buffer : m_buffers) {
        if (buffer.queued && !(buffer.header.dwFlags & WHDR_DONE)) continue;
        size_t taken = std::min(count, buffer.samples.size()) & ~size_t{1}; // whole frames
        if (taken == 0) return 0;
        std::memcpy(buffer.samples.data(), samples, taken * sizeof(int16_t));
        buffer.header.dwBufferLength = static_cast<DWORD>(taken * sizeof(int16_t));
        buffer.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
        if (waveOutWrite(m_device, &buffer.header, sizeof buffer.header) != MMSYSERR_NOERROR) {
            m_failed = true;
            return 0;
        }
        buffer.queued = true;
        return taken;
    }
    return 0;
}

bool WaveOutput::Drained() const {
    return std::all_of(m_buffers.begin(), m_buffers.end(), [](const Buffer& buffer) {
        return !buffer.queued || (buffer.header.dwFlags & WHDR_DONE);
    });
}
