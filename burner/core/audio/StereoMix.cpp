#include "burner/core/audio/StereoMix.h"

#include <algorithm>

namespace {

constexpr float kHalfPower = 0.70710678f;

struct SpeakerGain {
    float left;
    float right;
};

// Gains by the bit of a WAVE_FORMAT_EXTENSIBLE channel mask.
SpeakerGain GainOf(int bit) {
    switch (bit) {
    case 0:
        return {1.0f, 0.0f}; // front left
    case 1:
        return {0.0f, 1.0f}; // front right
    case 2:
        return {kHalfPower, kHalfPower}; // front centre
    case 3:
        return {0.0f, 0.0f}; // low-frequency effects
    case 4:
        return {kHalfPower, 0.0f}; // back left
    case 5:
        return {0.0f, kHalfPower}; // back right
    case 6:
        return {1.0f, 0.0f}; // front left of centre
    case 7:
        return {0.0f, 1.0f}; // front right of centre
    case 8:
        return {0.5f, 0.5f}; // back centre
    case 9:
        return {kHalfPower, 0.0f}; // side left
    case 10:
        return {0.0f, kHalfPower}; // side right
    case 11:
        return {0.5f, 0.5f}; // top centre
    case 12:
        return {kHalfPower, 0.0f}; // top front left
    case 13:
        return {0.5f, 0.5f}; // top front centre
    case 14:
        return {0.0f, kHalfPower}; // top front right
    case 15:
        return {0.5f, 0.0f}; // top back left
    case 16:
        return {0.5f * kHalfPower, 0.5f * kHalfPower}; // top back centre
    case 17:
        return {0.0f, 0.5f}; // top back right
    default:
        return {0.5f, 0.5f};
    }
}

} // namespace

uint32_t DefaultChannelMask(int channels) {
    switch (channels) {
    case 1:
        return 0x4;
    case 2:
        return 0x3;
    case 3:
        return 0x7;
    case 4:
        return 0x33;
    case 5:
        return 0x37;
    case 6:
        return 0x3F;
    case 7:
        return 0x13F;
    case 8:
        return 0x63F;
    default:
        return 0;
    }
}

StereoMix StereoMix::For(int channels, uint32_t channelMask) {
    StereoMix mix;
    if (channels < 1) channels = 1;
    mix.m_left.assign(channels, 0.0f);
    mix.m_right.assign(channels, 0.0f);
    if (channels == 1) {
        mix.m_left[0] = mix.m_right[0] = 1.0f;
        mix.m_plainCopy = true;
        return mix;
    }
    if (channelMask == 0) channelMask = DefaultChannelMask(channels);
    // Channels take the mask's positions in bit order; any beyond them have none.
    int bit = 0;
    for (int channel = 0; channel < channels; ++channel) {
        while (bit < 32 && (channelMask & (1u << bit)) == 0)
            ++bit;
        SpeakerGain gain = bit < 32 ? GainOf(bit) : SpeakerGain{0.5f, 0.5f};
        mix.m_left[channel] = gain.left;
        mix.m_right[channel] = gain.right;
        if (bit < 32) ++bit;
    }
    float leftSum = 0.0f;
    float rightSum = 0.0f;
    for (int channel = 0; channel < channels; ++channel) {
        leftSum += mix.m_left[channel];
        rightSum += mix.m_right[channel];
    }
    float largest = std::max(leftSum, rightSum);
    if (largest > 1.0f) {
        for (int channel = 0; channel < channels; ++channel) {
            mix.m_left[channel] /= largest;
            mix.m_right[channel] /= largest;
        }
    }
    mix.m_plainCopy = channels == 2 && mix.m_left[0] == 1.0f && mix.m_right[1] == 1.0f &&
                      mix.m_left[1] == 0.0f && mix.m_right[0] == 0.0f;
    return mix;
}

void StereoMix::Apply(const float* in, size_t frames, float* out) const {
    const int channels = Channels();
    if (channels == 2 && m_plainCopy) {
        std::copy(in, in + frames * 2, out);
        return;
    }
    for (size_t frame = 0; frame < frames; ++frame) {
        const float* source = in + frame * channels;
        float left = 0.0f;
        float right = 0.0f;
        for (int channel = 0; channel < channels; ++channel) {
            left += source[channel] * m_left[channel];
            right += source[channel] * m_right[channel];
        }
        out[frame * 2] = left;
        out[frame * 2 + 1] = right;
    }
}

void StereoMix::Copy(const int16_t* in, size_t frames, int16_t* out) const {
    if (Channels() == 1) {
        for (size_t frame = 0; frame < frames; ++frame)
            out[frame * 2] = out[frame * 2 + 1] = in[frame];
    } else {
        std::copy(in, in + frames * 2, out);
    }
}
