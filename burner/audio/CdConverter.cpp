#include "burner/audio/CdConverter.h"

#include "burner/core/audio/SampleConversion.h"
#include "burner/core/image/CdLayout.h"

CdConverter::CdConverter(const SourceFormat& format)
    : m_format(format), m_mix(StereoMix::For(format.channels, format.channelMask)) {
    if (format.rate < 1000 || format.rate > 768000) {
        m_error = "unsupported sample rate " + std::to_string(format.rate) + " Hz";
        return;
    }
    if (format.channels < 1 || format.channels > 32) {
        m_error = "unsupported channel count " + std::to_string(format.channels);
        return;
    }
    if (format.rate != cd::kSampleRate) {
        m_resampler = std::make_unique<Resampler>(format.rate, cd::kSampleRate);
        if (!m_resampler->IsReady()) m_error = m_resampler->Error();
    }
    m_bitExact = format.kind == SampleKind::Int16 && !m_resampler && m_mix.IsPlainCopy();
}

bool CdConverter::Push(const int16_t* in, size_t frames, std::vector<int16_t>& out) {
    if (!IsReady()) return false;
    if (m_bitExact) {
        size_t start = out.size();
        out.resize(start + frames * 2);
        m_mix.Copy(in, frames, out.data() + start);
        return true;
    }
    m_floatInput.resize(frames * m_format.channels);
    Int16ToFloat(in, m_floatInput.size(), m_floatInput.data());
    return PushFloat(m_floatInput.data(), frames, out);
}

bool CdConverter::Push(const float* in, size_t frames, std::vector<int16_t>& out) {
    if (!IsReady()) return false;
    return PushFloat(in, frames, out);
}

bool CdConverter::PushFloat(const float* in, size_t frames, std::vector<int16_t>& out) {
    m_stereo.resize(frames * 2);
    m_mix.Apply(in, frames, m_stereo.data());
    if (!m_resampler) {
        AppendRounded(m_stereo, out);
        return true;
    }
    m_resampled.clear();
    if (!m_resampler->Process(m_stereo.data(), frames, m_resampled)) {
        m_error = m_resampler->Error();
        return false;
    }
    AppendRounded(m_resampled, out);
    return true;
}

bool CdConverter::Finish(std::vector<int16_t>& out) {
    if (!IsReady()) return false;
    if (!m_resampler) return true;
    m_resampled.clear();
    if (!m_resampler->Flush(m_resampled)) {
        m_error = m_resampler->Error();
        return false;
    }
    AppendRounded(m_resampled, out);
    return true;
}

void CdConverter::AppendRounded(const std::vector<float>& stereo, std::vector<int16_t>& out) {
    size_t start = out.size();
    out.resize(start + stereo.size());
    FloatToInt16(stereo.data(), stereo.size(), out.data() + start);
}
