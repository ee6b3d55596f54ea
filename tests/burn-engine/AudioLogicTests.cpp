// Channel mixing, sample conversion and resampling to the disc's format.
#include "burner/audio/CdConverter.h"
#include "burner/audio/Resampler.h"
#include "burner/audio/SampleConversion.h"
#include "burner/audio/StereoMix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(SampleConversion, SixteenBitSamplesSurviveARoundTripThroughFloat) {
    std::vector<int16_t> all(65536);
    for (int i = 0; i < 65536; ++i)
        all[i] = static_cast<int16_t>(i - 32768);
    std::vector<float> floats(all.size());
    std::vector<int16_t> back(all.size());
    Int16ToFloat(all.data(), all.size(), floats.data());
    FloatToInt16(floats.data(), floats.size(), back.data());
    EXPECT_EQ(all, back);
    EXPECT_EQ(-1.0f, floats[0]);
}

TEST(SampleConversion, FloatsRoundToNearestAndClip) {
    const float in[] = {0.6f / 32768,
                        -0.6f / 32768,
                        0.4f / 32768,
                        1.5f,
                        -2.0f,
                        32767.4f / 32768,
                        std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity()};
    int16_t out[8];
    FloatToInt16(in, 8, out);
    EXPECT_EQ(1, out[0]);
    EXPECT_EQ(-1, out[1]);
    EXPECT_EQ(0, out[2]);
    EXPECT_EQ(32767, out[3]);
    EXPECT_EQ(-32768, out[4]);
    EXPECT_EQ(32767, out[5]);
    EXPECT_EQ(0, out[6]);
    EXPECT_EQ(32767, out[7]);
}

TEST(StereoMix, MonoAndStereoAreCopiedAsTheyAre) {
    StereoMix mono = StereoMix::For(1, 0);
    EXPECT_TRUE(mono.IsPlainCopy());
    const int16_t monoIn[] = {5, -7, 32767};
    int16_t monoOut[6];
    mono.Copy(monoIn, 3, monoOut);
    EXPECT_EQ((std::vector<int16_t>{5, 5, -7, -7, 32767, 32767}),
              std::vector<int16_t>(monoOut, monoOut + 6));
    EXPECT_TRUE(StereoMix::For(2, 0).IsPlainCopy());
    EXPECT_TRUE(StereoMix::For(2, 0x3).IsPlainCopy());
    // Two channels that are not left and right are mixed, not copied.
    StereoMix centreAndBack = StereoMix::For(2, 0x4 | 0x100);
    EXPECT_FALSE(centreAndBack.IsPlainCopy());
    EXPECT_GT(centreAndBack.Left(0), 0.0f);
    EXPECT_FLOAT_EQ(centreAndBack.Left(0), centreAndBack.Right(0));
}

TEST(StereoMix, SurroundIsMixedDownWithoutClipping) {
    StereoMix mix = StereoMix::For(6, 0x3F); // FL FR FC LFE BL BR
    const float sum = 1.0f + 0.70710678f + 0.70710678f;
    EXPECT_FLOAT_EQ(1.0f / sum, mix.Left(0));
    EXPECT_FLOAT_EQ(0.0f, mix.Left(1));
    EXPECT_FLOAT_EQ(0.70710678f / sum, mix.Left(2));
    EXPECT_FLOAT_EQ(mix.Left(2), mix.Right(2));
    EXPECT_FLOAT_EQ(0.0f, mix.Left(3)); // the effects channel is dropped
    EXPECT_FLOAT_EQ(0.0f, mix.Right(3));
    EXPECT_FLOAT_EQ(0.70710678f / sum, mix.Left(4));
    EXPECT_FLOAT_EQ(0.70710678f / sum, mix.Right(5));
    // Full scale on every channel stays within full scale.
    std::vector<float> loud(6, 1.0f);
    float out[2];
    mix.Apply(loud.data(), 1, out);
    EXPECT_LE(out[0], 1.0f + 1e-6f);
    EXPECT_NEAR(1.0f, out[0], 1e-6f);
    // Without a mask, six channels are taken as 5.1; odd counts still stay in range.
    StereoMix guessed = StereoMix::For(6, 0);
    for (int c = 0; c < 6; ++c)
        EXPECT_FLOAT_EQ(mix.Left(c), guessed.Left(c));
    StereoMix many = StereoMix::For(12, 0);
    float leftSum = 0, rightSum = 0;
    for (int c = 0; c < 12; ++c)
        leftSum += many.Left(c), rightSum += many.Right(c);
    EXPECT_LE(leftSum, 1.0f + 1e-5f);
    EXPECT_LE(rightSum, 1.0f + 1e-5f);
}

// Fits a sine of the known frequency by least squares and returns the
// ratio of its power to the power of what is left, in dB.
double SineSnr(const std::vector<double>& samples, double frequency, double rate) {
    double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
    for (size_t n = 0; n < samples.size(); ++n) {
        double s = std::sin(2 * kPi * frequency * n / rate);
        double c = std::cos(2 * kPi * frequency * n / rate);
        ss += s * s, sc += s * c, cc += c * c, ys += samples[n] * s, yc += samples[n] * c;
    }
    double det = ss * cc - sc * sc;
    double a = (ys * cc - yc * sc) / det;
    double b = (yc * ss - ys * sc) / det;
    double signal = 0, noise = 0;
    for (size_t n = 0; n < samples.size(); ++n) {
        double fit = a * std::sin(2 * kPi * frequency * n / rate) +
                     b * std::cos(2 * kPi * frequency * n / rate);
        signal += fit * fit;
        noise += (samples[n] - fit) * (samples[n] - fit);
    }
    return 10 * std::log10(signal / noise);
}

std::vector<float> ToneAt48k(double seconds, double amplitude) {
    size_t frames = static_cast<size_t>(48000 * seconds);
    std::vector<float> stereo(frames * 2);
    for (size_t n = 0; n < frames; ++n)
        stereo[2 * n] = stereo[2 * n + 1] =
            static_cast<float>(amplitude * std::sin(2 * kPi * 1000 * n / 48000.0));
    return stereo;
}

// The middle of one channel, away from the stream's start and end.
std::vector<double> Middle(const std::vector<float>& stereo, int channel) {
    std::vector<double> out;
    size_t frames = stereo.size() / 2;
    for (size_t n = frames / 10; n < frames - frames / 10; ++n)
        out.push_back(stereo[2 * n + channel]);
    return out;
}

TEST(Resampler, KeepsA1kHzToneCleanFrom48kTo44k1) {
    std::vector<float> tone = ToneAt48k(2.0, 0.5);
    Resampler resampler(48000, 44100);
    ASSERT_TRUE(resampler.IsReady()) << resampler.Error();
    std::vector<float> out;
    // Blocks of odd sizes, as decoders deliver them.
    for (size_t start = 0; start < tone.size() / 2;) {
        size_t frames = std::min<size_t>(1111, tone.size() / 2 - start);
        ASSERT_TRUE(resampler.Process(tone.data() + start * 2, frames, out));
        start += frames;
    }
    ASSERT_TRUE(resampler.Flush(out));
    EXPECT_NEAR(88200.0, out.size() / 2.0, 2.0); // the whole length, no delay lost or added
    double left = SineSnr(Middle(out, 0), 1000, 44100);
    std::printf("1 kHz at 48 kHz resampled to 44.1 kHz: %.1f dB SNR\n", left);
    EXPECT_GE(left, 100.0);
    EXPECT_GE(SineSnr(Middle(out, 1), 1000, 44100), 100.0);
    // The tone keeps its level and its phase: output n lies at input time n/44100.
    size_t n = 40000;
    EXPECT_NEAR(0.5 * std::sin(2 * kPi * 1000 * n / 44100.0), out[2 * n], 1e-4);
}

TEST(CdConverter, SixteenBitCdAudioPassesUntouched) {
    CdConverter stereo({44100, 2, 0x3, SampleKind::Int16});
    ASSERT_TRUE(stereo.IsReady());
    EXPECT_TRUE(stereo.IsBitExact());
    std::vector<int16_t> in(2000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<int16_t>(i * 37 - 20000);
    std::vector<int16_t> out;
    ASSERT_TRUE(stereo.Push(in.data(), 1000, out));
    ASSERT_TRUE(stereo.Finish(out));
    EXPECT_EQ(in, out);

    CdConverter mono({44100, 1, 0, SampleKind::Int16});
    EXPECT_TRUE(mono.IsBitExact());
    out.clear();
    ASSERT_TRUE(mono.Push(in.data(), 2, out));
    EXPECT_EQ((std::vector<int16_t>{in[0], in[0], in[1], in[1]}), out);

    // Float at the disc's rate is only rounded; other rates are resampled.
    CdConverter floats({44100, 2, 0, SampleKind::Float32});
    EXPECT_FALSE(floats.IsBitExact());
    const float half[] = {0.5f, -0.5f};
    out.clear();
    ASSERT_TRUE(floats.Push(half, 1, out));
    EXPECT_EQ((std::vector<int16_t>{16384, -16384}), out);
}

TEST(CdConverter, ResampledToneIsAtTheSixteenBitLimit) {
    std::vector<float> tone = ToneAt48k(2.0, 0.5);
    CdConverter converter({48000, 2, 0, SampleKind::Float32});
    ASSERT_TRUE(converter.IsReady());
    std::vector<int16_t> out;
    ASSERT_TRUE(converter.Push(tone.data(), tone.size() / 2, out));
    ASSERT_TRUE(converter.Finish(out));
    EXPECT_NEAR(88200.0, out.size() / 2.0, 2.0);
    std::vector<double> left;
    for (size_t n = out.size() / 20; n < out.size() / 2 - out.size() / 20; ++n)
        left.push_back(out[2 * n] / 32768.0);
    // Rounding alone leaves noise of 1/sqrt(12) LSB: 6.02 x 16 + 1.76 dB for
    // a full-scale sine, 6 dB less at half scale.
    double limit = 6.02 * 16 + 1.76 - 6.02;
    double snr = SineSnr(left, 1000, 44100);
    std::printf("the same in 16 bits: %.1f dB SNR (rounding alone: %.1f dB)\n", snr, limit);
    EXPECT_GE(snr, limit - 1.0);
}

TEST(CdConverter, RefusesFormatsNoDiscCanTake) {
    EXPECT_FALSE(CdConverter({0, 2, 0, SampleKind::Int16}).IsReady());
    EXPECT_FALSE(CdConverter({44100, 0, 0, SampleKind::Int16}).IsReady());
    EXPECT_FALSE(CdConverter({44100, 200, 0, SampleKind::Float32}).IsReady());
}

} // namespace

#include "burner/audio/Mp3Gapless.h"

#include <cstring>

namespace {

// The first frame of a LAME-encoded MP3: 128 kbit/s, 44.1 kHz, stereo, an
// Info tag with every field, then the LAME tag's delays.
std::vector<uint8_t> InfoFrame(uint32_t startPad, uint32_t endPad, uint32_t flags = 0x0F) {
    std::vector<uint8_t> frame(417, 0);
    const uint8_t header[] = {0xFF, 0xFB, 0x90, 0x64};
    std::memcpy(frame.data(), header, 4);
    size_t at = 36;
    std::memcpy(&frame[at], "Info", 4);
    frame[at + 7] = static_cast<uint8_t>(flags);
    at += 8;
    if (flags & 1) frame[at + 2] = 0, frame[at + 3] = 193, at += 4; // 193 frames
    if (flags & 2) at += 4;
    if (flags & 4) at += 100;
    if (flags & 8) at += 4;
    std::memcpy(&frame[at], "LAME3.100", 9);
    uint32_t delays = startPad << 12 | endPad;
    frame[at + 21] = static_cast<uint8_t>(delays >> 16);
    frame[at + 22] = static_cast<uint8_t>(delays >> 8);
    frame[at + 23] = static_cast<uint8_t>(delays);
    return frame;
}

TEST(Mp3Gapless, TheLameTagSaysWhatToTrimAtEachEnd) {
    GaplessTrim trim;
    std::vector<uint8_t> frame = InfoFrame(576, 1260);
    ASSERT_TRUE(ParseGaplessInfo(frame.data(), frame.size(), trim));
    EXPECT_EQ(193u * 1152, trim.untrimmed);
    EXPECT_EQ(576u + 529, trim.skip);   // the encoder's delay and the decoder's
    EXPECT_EQ(220500u, trim.keep);      // 5 s: what ffmpeg decodes
    frame = InfoFrame(576, 1260, 0x01); // only the frame count
    ASSERT_TRUE(ParseGaplessInfo(frame.data(), frame.size(), trim));
    EXPECT_EQ(220500u, trim.keep);

    frame = InfoFrame(576, 1260, 0x0E); // no frame count: the end is unknown
    EXPECT_FALSE(ParseGaplessInfo(frame.data(), frame.size(), trim));
    frame = InfoFrame(576, 1260);
    std::memcpy(&frame[36 + 8 + 4 + 4 + 100 + 4], "XXXX", 4); // another encoder's tag
    EXPECT_FALSE(ParseGaplessInfo(frame.data(), frame.size(), trim));
    frame = InfoFrame(576, 1260);
    EXPECT_FALSE(ParseGaplessInfo(frame.data(), 100, trim)); // cut short
    frame[1] = 0xFD;                                         // layer II
    EXPECT_FALSE(ParseGaplessInfo(frame.data(), frame.size(), trim));
    frame = InfoFrame(1000, 1000);
    frame[36 + 8 + 3] = 1; // one frame of 1152 samples: more padding than sound
    EXPECT_FALSE(ParseGaplessInfo(frame.data(), frame.size(), trim));
}

} // namespace
