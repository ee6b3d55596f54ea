// Stereo float resampling with libsoxr at its high quality setting
// (passband to 91% of Nyquist, stopband past 20 kHz at more than 120 dB).
// Its filter delay is compensated: output sample n lies at input time
// n * inRate / outRate.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct soxr;

class Resampler {
public:
    Resampler(double inputRate, double outputRate);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // False (with Error()) when the library refused the rates.
    bool IsReady() const { return m_soxr != nullptr; }
    const std::string& Error() const { return m_error; }

    // Appends what the frames give to out (interleaved stereo).
    bool Process(const float* in, size_t frames, std::vector<float>& out);
    // Appends the tail that is still inside the filter; the stream ends.
    bool Flush(std::vector<float>& out);

private:
    bool Run(const float* in, size_t frames, std::vector<float>& out);

    soxr* m_soxr = nullptr;
    double m_ratio;
    std::string m_error;
};
