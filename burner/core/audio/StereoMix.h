// How a source's channels become the disc's two. Mono is copied to both
// sides at full level; stereo passes through; more channels are mixed down
// by speaker position:
//   front left/right (and left/right of centre)  -> its side, 1.0
//   front centre                                  -> both, 0.7071
//   side and back left/right, top front left/right -> its side, 0.7071
//   back centre, top centre, top front centre, top back left/right -> 0.5
//   top back centre                               -> both, 0.3536
//   low-frequency effects                         -> dropped
//   a channel without a position                  -> both, 0.5
// then every coefficient is divided by the larger side's sum when that sum
// exceeds 1, so a full-scale source cannot clip. Without a channel mask the
// usual Windows layout for the channel count is assumed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class StereoMix {
public:
    static StereoMix For(int channels, uint32_t channelMask);

    int Channels() const { return static_cast<int>(m_left.size()); }
    float Left(int channel) const { return m_left[channel]; }
    float Right(int channel) const { return m_right[channel]; }

    // True when the mix copies samples unchanged (mono to both sides, or
    // stereo as it is), so 16-bit samples can skip any arithmetic.
    bool IsPlainCopy() const { return m_plainCopy; }

    // frames x Channels() interleaved in, frames x 2 interleaved out.
    void Apply(const float* in, size_t frames, float* out) const;
    // Only for a plain copy.
    void Copy(const int16_t* in, size_t frames, int16_t* out) const;

private:
    std::vector<float> m_left;
    std::vector<float> m_right;
    bool m_plainCopy = false;
};

// The speaker layout Windows assumes for a channel count without a mask.
uint32_t DefaultChannelMask(int channels);
