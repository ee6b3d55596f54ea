// Turns decoded audio in the source's own format (16-bit or float, any rate,
// any channel count) into the disc's: 44,100 Hz, 16-bit, stereo. A 16-bit
// mono or stereo source at 44,100 Hz is copied bit for bit; everything else
// goes through float: channel mix, resampling where the rate differs, then
// rounding to 16 bits.
#pragma once

#include "burner/audio/Resampler.h"
#include "burner/core/audio/SourceFormat.h"
#include "burner/core/audio/StereoMix.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CdConverter {
public:
    explicit CdConverter(const SourceFormat& format);

    // False (with Error()) when the format cannot be converted.
    bool IsReady() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }
    bool IsBitExact() const { return m_bitExact; }

    // Appends the disc frames (interleaved stereo) that the input gives.
    bool Push(const int16_t* in, size_t frames, std::vector<int16_t>& out);
    bool Push(const float* in, size_t frames, std::vector<int16_t>& out);
    // Appends what is still inside the resampler; the stream ends.
    bool Finish(std::vector<int16_t>& out);

private:
    bool PushFloat(const float* in, size_t frames, std::vector<int16_t>& out);
    void AppendRounded(const std::vector<float>& stereo, std::vector<int16_t>& out);

    SourceFormat m_format;
    StereoMix m_mix;
    std::unique_ptr<Resampler> m_resampler;
    bool m_bitExact = false;
    std::string m_error;
    std::vector<float> m_floatInput;
    std::vector<float> m_stereo;
    std::vector<float> m_resampled;
};
