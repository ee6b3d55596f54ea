#include "burner/audio/MediaFoundationDecoder.h"

#include <mfapi.h>
#include <mferror.h>

#include <cstring>

bool MediaFoundationDecoder::Fail(const std::string& problem) {
    m_problem = problem;
    m_reader.Reset();
    return false;
}

bool MediaFoundationDecoder::Open(const std::wstring& path) {
    const std::string notAudio = "it is not audio that this computer can decode";
    if (!m_platform.IsReady()) return Fail("the system's audio decoders could not be started");
    HRESULT hr = MFCreateSourceReaderFromURL(path.c_str(), nullptr, m_reader.Receive());
    if (FAILED(hr)) return Fail(notAudio);
    // Only the sound: cover pictures and other streams stay unread.
    m_reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    hr =
        m_reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM), TRUE);
    if (FAILED(hr) || !ChooseOutput()) return Fail(notAudio);
    PROPVARIANT duration;
    PropVariantInit(&duration);
    if (SUCCEEDED(m_reader->GetPresentationAttribute(
            static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION, &duration)) &&
        duration.vt == VT_UI8)
        m_length = static_cast<int64_t>(static_cast<double>(duration.uhVal.QuadPart) *
                                        m_format.rate / 1e7);
    PropVariantClear(&duration);
    return true;
}

bool MediaFoundationDecoder::ChooseOutput() {
    const DWORD stream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);
    ComPtr<IMFMediaType> native;
    if (FAILED(m_reader->GetNativeMediaType(stream, 0, native.Receive()))) return false;
    GUID major{};
    GUID subtype{};
    UINT32 bits = 0;
    native->GetGUID(MF_MT_MAJOR_TYPE, &major);
    native->GetGUID(MF_MT_SUBTYPE, &subtype);
    native->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &bits);
    if (major != MFMediaType_Audio) return false;
    // 16-bit samples are taken as they are; anything else (24-bit, float,
    // compressed) as floats, so no precision is lost before our own rounding.
    const bool int16 = subtype == MFAudioFormat_PCM && bits == 16;
    ComPtr<IMFMediaType> wanted;
    if (FAILED(MFCreateMediaType(wanted.Receive()))) return false;
    wanted->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
    wanted->SetGUID(MF_MT_SUBTYPE, int16 ? MFAudioFormat_PCM : MFAudioFormat_Float);
    wanted->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, int16 ? 16 : 32);
    if (FAILED(m_reader->SetCurrentMediaType(stream, nullptr, wanted.Get()))) return false;
    ComPtr<IMFMediaType> current;
    if (FAILED(m_reader->GetCurrentMediaType(stream, current.Receive()))) return false;
    UINT32 rate = 0;
    UINT32 channels = 0;
    UINT32 mask = 0;
    UINT32 currentBits = 0;
    GUID currentSubtype{};
    current->GetGUID(MF_MT_SUBTYPE, &currentSubtype);
    current->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
    current->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
    current->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &currentBits);
    if (FAILED(current->GetUINT32(MF_MT_AUDIO_CHANNEL_MASK, &mask))) mask = 0;
    if (currentSubtype != (int16 ? MFAudioFormat_PCM : MFAudioFormat_Float)) return false;
    if (currentBits != (int16 ? 16u : 32u) || rate == 0 || channels == 0) return false;
    m_format.rate = static_cast<int>(rate);
    m_format.channels = static_cast<int>(channels);
    m_format.channelMask = mask;
    m_format.kind = int16 ? SampleKind::Int16 : SampleKind::Float32;
    return true;
}

StreamDecoder::Status MediaFoundationDecoder::Read(std::vector<int16_t>& int16,
                                                   std::vector<float>& float32, size_t& frames) {
    frames = 0;
    if (!m_reader) return Status::Error;
    const std::string broken = "the system's decoder stopped on an error";
    for (;;) {
        DWORD flags = 0;
        LONGLONG timestamp = 0;
        ComPtr<IMFSample> sample;
        HRESULT hr = m_reader->ReadSample(static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM),
                                          0, nullptr, &flags, &timestamp, sample.Receive());
        if (FAILED(hr) || (flags & MF_SOURCE_READERF_ERROR)) {
            Fail(broken);
            return Status::Error;
        }
        if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
            // A stream that changes its rate or layout half-way is not one
            // track's worth of audio any more.
            SourceFormat before = m_format;
            if (!ChooseOutput() || m_format.rate != before.rate ||
                m_format.channels != before.channels || m_format.kind != before.kind) {
                Fail("it changes its sample rate or channels part-way");
                return Status::Error;
            }
        }
        if (sample) {
            ComPtr<IMFMediaBuffer> buffer;
            BYTE* data = nullptr;
            DWORD length = 0;
            if (FAILED(sample->ConvertToContiguousBuffer(buffer.Receive())) ||
                FAILED(buffer->Lock(&data, nullptr, &length))) {
                Fail(broken);
                return Status::Error;
            }
            const size_t sampleBytes = m_format.kind == SampleKind::Int16 ? 2 : 4;
            const size_t frameBytes = sampleBytes * static_cast<size_t>(m_format.channels);
            frames = length / frameBytes;
            if (m_format.kind == SampleKind::Int16) {
                int16.resize(frames * m_format.channels);
                std::memcpy(int16.data(), data, frames * frameBytes);
            } else {
                float32.resize(frames * m_format.channels);
                std::memcpy(float32.data(), data, frames * frameBytes);
            }
            buffer->Unlock();
            m_position += frames;
            if (frames > 0) return Status::Data;
        }
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) return Status::End;
    }
}
