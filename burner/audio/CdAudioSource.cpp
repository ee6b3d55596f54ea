#include "burner/audio/CdAudioSource.h"

#include "burner/core/image/CdLayout.h"

bool CdAudioSource::Open(const std::wstring& path) {
    if (!m_decoder.Open(path)) {
        m_error = m_decoder.Error();
        return false;
    }
    m_converter = std::make_unique<CdConverter>(m_decoder.Format());
    if (!m_converter->IsReady()) {
        m_error = L"The file \"" + path + L"\" has a format that cannot go on an audio disc.";
        return false;
    }
    return true;
}

CdAudioSource::Status CdAudioSource::Read(std::vector<int16_t>& out) {
    if (!m_converter) return Status::Error;
    if (m_finished) return Status::End;
    const size_t before = out.size();
    for (;;) {
        size_t frames = 0;
        AudioDecoder::Status status = m_decoder.Read(m_int16, m_float, frames);
        if (status == AudioDecoder::Status::Error) {
            m_error = m_decoder.Error();
            return Status::Error;
        }
        bool converted = true;
        if (status == AudioDecoder::Status::End) {
            m_finished = true;
            converted = m_converter->Finish(out);
        } else if (Format().kind == SampleKind::Int16) {
            converted = m_converter->Push(m_int16.data(), frames, out);
        } else {
            converted = m_converter->Push(m_float.data(), frames, out);
        }
        if (!converted) {
            m_error = L"The audio of a file could not be converted for the disc.";
            return Status::Error;
        }
        if (m_finished) return Status::End;
        // A resampler may hold back a short block entirely; read on.
        if (out.size() > before) return Status::Data;
    }
}

int64_t CdAudioSource::EstimatedFrames() const {
    return cd::DiscFramesFor(m_decoder.LengthFrames(), Format().rate);
}
