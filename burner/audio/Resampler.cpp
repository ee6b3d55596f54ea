#include "burner/audio/Resampler.h"

#include <soxr.h>

Resampler::Resampler(double inputRate, double outputRate) : m_ratio(outputRate / inputRate) {
    soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    // One thread per resampler: the engine already runs one per track.
    soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(inputRate, outputRate, 2, &error, &io, &quality, &runtime);
    if (m_soxr == nullptr) m_error = error != nullptr ? error : "the resampler could not start";
}

Resampler::~Resampler() {
    if (m_soxr != nullptr) soxr_delete(m_soxr);
}

bool Resampler::Process(const float* in, size_t frames, std::vector<float>& out) {
    if (frames == 0) return true;
    return Run(in, frames, out);
}

bool Resampler::Flush(std::vector<float>& out) {
    return Run(nullptr, 0, out);
}

bool Resampler::Run(const float* in, size_t frames, std::vector<float>& out) {
    if (m_soxr == nullptr) return false;
    size_t consumed = 0;
    // A null input tells the library the stream has ended; it then gives
    // its tail over as many calls as the room asks for.
    for (;;) {
        size_t room = static_cast<size_t>((frames - consumed) * m_ratio) + 1024;
        size_t start = out.size();
        out.resize(start + room * 2);
        size_t done = 0;
        size_t produced = 0;
        soxr_error_t error =
            soxr_process(m_soxr, in != nullptr ? in + consumed * 2 : nullptr, frames - consumed,
                         in != nullptr ? &done : nullptr, out.data() + start, room, &produced);
        out.resize(start + produced * 2);
        if (error != nullptr) {
            m_error = error;
            return false;
        }
        consumed += done;
        if (in == nullptr) {
            if (produced == 0) return true;
        } else if (consumed >= frames || (done == 0 && produced == 0)) {
            return true; // the library takes all input it is given; never spin
        }
    }
}
