// A decoded stream's samples on their way to the disc: the mix-down of the
// channel count and mask a file's header states, then the conversion to
// 16 bits. Broken streams give NaN, infinities and values far past full scale.
#include "FuzzSupport.h"

#include "burner/core/audio/SampleConversion.h"
#include "burner/core/audio/StereoMix.h"

#include <cmath>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    // Up to 255 channels: past 32 none has a position, which is all that changes.
    int channels = data[0];
    uint32_t mask = static_cast<uint32_t>(data[1] | data[2] << 8 | data[3] << 16) |
                    static_cast<uint32_t>(data[4]) << 24;
    std::vector<float> in((size - 5) / sizeof(float));
    if (!in.empty()) std::memcpy(in.data(), data + 5, in.size() * sizeof(float));

    StereoMix mix = StereoMix::For(channels, mask);
    const size_t frames = in.size() / static_cast<size_t>(mix.Channels());
    std::vector<float> stereo(frames * 2);
    mix.Apply(in.data(), frames, stereo.data());

    // A full-scale source cannot clip, however many channels it has.
    bool fullScale = true;
    for (size_t i = 0; i < frames * static_cast<size_t>(mix.Channels()); ++i)
        fullScale = fullScale && std::isfinite(in[i]) && std::fabs(in[i]) <= 1.0f;
    if (fullScale)
        for (float sample : stereo)
            FUZZ_CHECK(std::fabs(sample) <= 1.0001f);

    std::vector<int16_t> out(stereo.size());
    FloatToInt16(stereo.data(), stereo.size(), out.data());
    std::vector<int16_t> raw(in.size());
    FloatToInt16(in.data(), in.size(), raw.data());
    for (size_t i = 0; i < in.size(); ++i)
        if (std::isnan(in[i])) FUZZ_CHECK(raw[i] == 0); // silence, not a click
    return 0;
}
