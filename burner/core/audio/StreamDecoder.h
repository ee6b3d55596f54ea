// One audio stream being decoded, whatever decodes it: blocks of 16-bit
// samples (when the source's own samples fit 16 bits exactly) or floats at
// full scale 1.0, interleaved, at the stream's own rate, with its channels
// in the order of the Windows speaker bits (Format().channelMask).
#pragma once

#include "burner/core/audio/SourceFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class StreamDecoder {
public:
    virtual ~StreamDecoder() = default;

    enum class Status { Data, End, Error };
    // The next block into int16 or float32 (as Format().kind says), frames
    // per channel in frames. Error: Problem() says what went wrong.
    virtual Status Read(std::vector<int16_t>& int16, std::vector<float>& float32,
                        size_t& frames) = 0;

    const SourceFormat& Format() const { return m_format; }
    // Frames the stream holds as far as its headers tell; 0 when unknown.
    int64_t LengthFrames() const { return m_length; }
    // Frames given so far.
    uint64_t Position() const { return m_position; }
    // What went wrong, as the end of a sentence ("its frames are damaged").
    const std::string& Problem() const { return m_problem; }

protected:
    SourceFormat m_format;
    int64_t m_length = 0;
    uint64_t m_position = 0;
    std::string m_problem;
};
