// What a whole burn cannot show, its 16 bits being too coarse: the
// resampler's own quality against an exact reference.
#include "burner/audio/Resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Resampler, KeepsA1kHzToneCleanFrom48kTo44k1) {
    std::vector<float> tone(2 * 96000);
    for (size_t n = 0; n < tone.size(); ++n)
        tone[n] = static_cast<float>(0.5 * std::sin(2 * kPi * 1000 * (n / 2) / 48000));
    Resampler resampler(48000, 44100);
    ASSERT_TRUE(resampler.IsReady()) << resampler.Error();
    std::vector<float> out;
    // Blocks of odd sizes, as decoders deliver them.
    for (size_t start = 0; start < 96000; start += 1111)
        ASSERT_TRUE(
            resampler.Process(&tone[start * 2], std::min<size_t>(1111, 96000 - start), out));
    ASSERT_TRUE(resampler.Flush(out));
    ASSERT_NEAR(88200.0, out.size() / 2.0, 2.0); // the whole length, no delay lost or added
    // Away from the ends, output n is the tone at input time n/44100, in level
    // and phase, to within 100 dB.
    double signal = 0, noise = 0;
    for (size_t i = 2 * 8820; i < 2 * (88200 - 8820); ++i) {
        double exact = 0.5 * std::sin(2 * kPi * 1000 * (i / 2) / 44100.0);
        signal += exact * exact;
        noise += (out[i] - exact) * (out[i] - exact);
    }
    EXPECT_GE(10 * std::log10(signal / noise), 100.0);
}

} // namespace
