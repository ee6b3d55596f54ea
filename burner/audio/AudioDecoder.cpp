#include "burner/audio/AudioDecoder.h"

#include "burner/audio/MediaFoundationDecoder.h"
#include "base/FileErrors.h"

namespace {

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end()); // our own sentences are ASCII
}

} // namespace

bool AudioDecoder::Fail(Failure failure, const std::wstring& sentence) {
    m_failure = failure;
    m_error = sentence;
    m_decoder.reset();
    return false;
}

bool AudioDecoder::Open(const std::wstring& path) {
    m_path = path;
    if (!m_file.Open(path.c_str())) {
        DWORD error = GetLastError();
        return Fail(Failure::CannotOpen,
                    L"The file " + Quoted(path) + L" cannot be opened: " + FileErrorReason(error));
    }
    const AudioContainer container = SniffAudio(m_input);
    const std::wstring notAudio =
        L"The file " + Quoted(path) + L" is not audio that this computer can decode.";
    std::string problem;
    switch (FamilyOf(container)) {
    case DecoderFamily::Library:
        m_decoder = OpenLibraryDecoder(m_input, container, problem);
        if (m_decoder) return true;
        // A file nothing recognised, which the library did not know either.
        if (container == AudioContainer::Unknown) return Fail(Failure::NotAudio, notAudio);
        return Fail(Failure::NotAudio, L"The file " + Quoted(path) + L" is " +
                                           Wide(DescribeContainer(container)) +
                                           L" that cannot be decoded: " + Wide(problem) + L".");
    case DecoderFamily::Platform: {
        auto platform = std::make_unique<MediaFoundationDecoder>();
        if (!platform->Open(path)) return Fail(Failure::NotAudio, notAudio);
        m_decoder = std::move(platform);
        return true;
    }
    case DecoderFamily::None:
        break;
    }
    return Fail(Failure::NotAudio, notAudio);
}

double AudioDecoder::Progress() const {
    if (!m_decoder || m_decoder->LengthFrames() <= 0) return 0.0;
    double progress =
        static_cast<double>(m_decoder->Position()) / static_cast<double>(m_decoder->LengthFrames());
    return progress < 0.0 ? 0.0 : progress > 1.0 ? 1.0 : progress;
}

AudioDecoder::Status AudioDecoder::Read(std::vector<int16_t>& int16, std::vector<float>& float32,
                                        size_t& frames) {
    frames = 0;
    if (!m_decoder) return Status::Error;
    Status status = m_decoder->Read(int16, float32, frames);
    if (status == Status::Error) {
        m_failure = Failure::Broken;
        m_error = L"The file " + Quoted(m_path) + L" could not be decoded to its end: " +
                  Wide(m_decoder->Problem()) + L".";
    }
    return status;
}
