// A file as the disc wants it: decoded, mixed to stereo, resampled to
// 44,100 Hz where needed, 16-bit. The engine's burn reads tracks through it;
// preview playback can too.
#pragma once

#include "burner/audio/AudioDecoder.h"
#include "burner/audio/CdConverter.h"

#include <memory>

class CdAudioSource {
public:
    bool Open(const std::wstring& path);

    enum class Status { Data, End, Error };
    // Appends the next disc frames (interleaved stereo) to out. End may
    // come with the last frames appended.
    Status Read(std::vector<int16_t>& out);

    // Disc frames the file's stated length gives, 0 when it states none.
    int64_t EstimatedFrames() const;
    double Progress() const { return m_decoder.Progress(); }
    const SourceFormat& Format() const { return m_decoder.Format(); }
    bool IsBitExact() const { return m_converter && m_converter->IsBitExact(); }

    AudioDecoder::Failure FailureKind() const { return m_decoder.FailureKind(); }
    const std::wstring& Error() const { return m_error; }

private:
    AudioDecoder m_decoder;
    std::unique_ptr<CdConverter> m_converter;
    std::vector<int16_t> m_int16;
    std::vector<float> m_float;
    bool m_finished = false;
    std::wstring m_error;
};
