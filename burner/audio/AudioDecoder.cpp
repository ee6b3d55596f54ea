#include "burner/audio/AudioDecoder.h"

#include "base/FileErrors.h"
#include "burner/playtime/FileSource.h"

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>

#include <algorithm>
#include <cstring>

namespace {

// A file that cannot be read at all says so more plainly than a decoder can.
DWORD CheckReadable(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD result = ERROR_SUCCESS;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info))
        result = GetLastError();
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        result = ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return result;
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

} // namespace

bool AudioDecoder::Fail(Failure failure, const std::wstring& sentence) {
    m_failure = failure;
    m_error = sentence;
    m_reader.Reset();
    return false;
}

bool AudioDecoder::Open(const std::wstring& path) {
    m_path = path;
    DWORD readable = CheckReadable(path);
    if (readable != ERROR_SUCCESS)
        return Fail(Failure::CannotOpen, L"The file " + Quoted(path) + L" cannot be opened: " +
                                             FileErrorReason(readable));
    const std::wstring notAudio =
        L"The file " + Quoted(path) + L" is not audio that this computer can decode.";
    HRESULT hr = MFCreateSourceReaderFromURL(path.c_str(), nullptr, m_reader.Receive());
    if (FAILED(hr)) return Fail(Failure::NotAudio, notAudio);
    // Only the sound: cover pictures and other streams stay unread.
    m_reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    hr =
        m_reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM), TRUE);
    if (FAILED(hr)) return Fail(Failure::NotAudio, notAudio);
    if (!ChooseOutput()) return Fail(Failure::NotAudio, notAudio);
    PROPVARIANT duration;
    PropVariantInit(&duration);
    if (SUCCEEDED(m_reader->GetPresentationAttribute(
            static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION, &duration)) &&
        duration.vt == VT_UI8)
        m_duration = static_cast<int64_t>(duration.uhVal.QuadPart);
    PropVariantClear(&duration);
    // Trim only a stream that still has the encoder's delay and padding:
    // its stated length is the untrimmed one (a decoder that trims by
    // itself states the shorter length).
    GaplessTrim trim;
    FileSource file;
    if (m_duration > 0 && file.Open(path.c_str()) && ReadMp3Gapless(file, trim)) {
        double stated = static_cast<double>(m_duration) * m_format.rate / 1e7;
        if (stated > trim.untrimmed - 0.5 * 1152 && stated < trim.untrimmed + 0.5 * 1152) {
            m_trimming = true;
            m_skipLeft = trim.skip;
            m_keepLeft = trim.keep;
        }
    }
    return true;
}

bool AudioDecoder::ChooseOutput() {
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

double AudioDecoder::Progress() const {
    if (m_duration <= 0) return 0.0;
    double progress = static_cast<double>(m_position) / static_cast<double>(m_duration);
    return progress < 0.0 ? 0.0 : progress > 1.0 ? 1.0 : progress;
}

AudioDecoder::Status AudioDecoder::Read(std::vector<int16_t>& int16, std::vector<float>& float32,
                                        size_t& frames) {
    for (;;) {
        if (m_trimming && m_keepLeft == 0) {
            frames = 0;
            m_position = m_duration;
            return Status::End; // the rest is the encoder's padding
        }
        Status status = ReadBlock(int16, float32, frames);
        if (status != Status::Data || !m_trimming) return status;
        Trim(int16, float32, frames);
        if (frames > 0) return Status::Data;
    }
}

void AudioDecoder::Trim(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames) {
    const size_t channels = static_cast<size_t>(m_format.channels);
    size_t drop = static_cast<size_t>(std::min<uint64_t>(m_skipLeft, frames));
    size_t keep = static_cast<size_t>(std::min<uint64_t>(m_keepLeft, frames - drop));
    m_skipLeft -= drop;
    m_keepLeft -= keep;
    if (m_format.kind == SampleKind::Int16)
        std::memmove(int16.data(), int16.data() + drop * channels,
                     keep * channels * sizeof(int16_t));
    else
        std::memmove(float32.data(), float32.data() + drop * channels,
                     keep * channels * sizeof(float));
    frames = keep;
}

AudioDecoder::Status AudioDecoder::ReadBlock(std::vector<int16_t>& int16,
                                             std::vector<float>& float32, size_t& frames) {
    frames = 0;
    if (!m_reader) return Status::Error;
    const std::wstring broken =
        L"The file " + Quoted(m_path) + L" could not be decoded to its end.";
    for (;;) {
        DWORD flags = 0;
        LONGLONG timestamp = 0;
        ComPtr<IMFSample> sample;
        HRESULT hr = m_reader->ReadSample(static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM),
                                          0, nullptr, &flags, &timestamp, sample.Receive());
        if (FAILED(hr) || (flags & MF_SOURCE_READERF_ERROR)) {
            Fail(Failure::Broken, broken);
            return Status::Error;
        }
        if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
            // A stream that changes its rate or layout half-way is not one
            // track's worth of audio any more.
            SourceFormat before = m_format;
            if (!ChooseOutput() || m_format.rate != before.rate ||
                m_format.channels != before.channels || m_format.kind != before.kind) {
                Fail(Failure::Broken, L"The file " + Quoted(m_path) +
                                          L" changes its sample rate or channels part-way.");
                return Status::Error;
            }
        }
        if (sample) {
            ComPtr<IMFMediaBuffer> buffer;
            if (FAILED(sample->ConvertToContiguousBuffer(buffer.Receive()))) {
                Fail(Failure::Broken, broken);
                return Status::Error;
            }
            BYTE* data = nullptr;
            DWORD length = 0;
            if (FAILED(buffer->Lock(&data, nullptr, &length))) {
                Fail(Failure::Broken, broken);
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
            LONGLONG duration = 0;
            if (SUCCEEDED(sample->GetSampleDuration(&duration))) m_position = timestamp + duration;
            if (frames > 0) return Status::Data;
        }
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) {
            m_position = m_duration;
            return Status::End;
        }
    }
}
