// One audio file decoded by Media Foundation's Source Reader, at the file's
// own rate and channel count: 16-bit samples when the file's own samples are
// 16-bit (so they arrive untouched), floats otherwise. The calling thread
// must hold a MediaFoundationScope.
#pragma once

#include "burner/audio/CdConverter.h"
#include "burner/audio/MediaFoundation.h"
#include "burner/core/audio/Mp3Gapless.h"

#include <mfidl.h>
#include <mfreadwrite.h>

#include <cstdint>
#include <string>
#include <vector>

class AudioDecoder {
public:
    enum class Failure { None, CannotOpen, NotAudio, Broken };

    // Opens the file and chooses the output; on failure Error() says why in
    // a sentence that names the file.
    bool Open(const std::wstring& path);

    const SourceFormat& Format() const { return m_format; }
    // The stream's length as the file states it, 0 when it does not.
    int64_t Duration100ns() const { return m_duration; }
    // How far decoding has come, 0 to 1 (0 when the length is unknown).
    double Progress() const;

    enum class Status { Data, End, Error };
    // The next block: 16-bit samples in int16 or floats in float32
    // (interleaved, as Format().kind says), frames per channel in frames.
    Status Read(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames);

    Failure FailureKind() const { return m_failure; }
    const std::wstring& Error() const { return m_error; }

private:
    Status ReadBlock(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames);
    void Trim(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames);
    bool Fail(Failure failure, const std::wstring& sentence);
    bool ChooseOutput();

    ComPtr<IMFSourceReader> m_reader;
    SourceFormat m_format;
    int64_t m_duration = 0;
    int64_t m_position = 0;
    // Gapless MP3: frames still to drop at the start, and still to give.
    bool m_trimming = false;
    uint64_t m_skipLeft = 0;
    uint64_t m_keepLeft = 0;
    std::wstring m_path;
    Failure m_failure = Failure::None;
    std::wstring m_error;
};
