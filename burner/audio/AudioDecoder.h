// One audio file decoded at its own rate and channel count by the decoder
// its content calls for (see AudioSniffer.h): the file is read through a
// byte source by the libraries, or opened by the platform's media framework
// for Windows Media and MP4/AAC.
#pragma once

#include "burner/core/audio/AudioSniffer.h"
#include "burner/core/audio/StreamDecoder.h"
#include "burner/core/playtime/BufferedSource.h"
#include "burner/playtime/FileSource.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AudioDecoder {
public:
    enum class Failure { None, CannotOpen, NotAudio, Broken };

    // Opens the file and its decoder; on failure Error() says why in a
    // sentence that names the file.
    bool Open(const std::wstring& path);

    const SourceFormat& Format() const { return m_decoder ? m_decoder->Format() : m_noFormat; }
    // The stream's length in its own frames as its headers state it, 0 when
    // they do not.
    int64_t LengthFrames() const { return m_decoder ? m_decoder->LengthFrames() : 0; }
    // How far decoding has come, 0 to 1 (0 when the length is unknown).
    double Progress() const;

    using Status = StreamDecoder::Status;
    // The next block: 16-bit samples in int16 or floats in float32
    // (interleaved, as Format().kind says), frames per channel in frames.
    Status Read(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames);

    Failure FailureKind() const { return m_failure; }
    const std::wstring& Error() const { return m_error; }

private:
    bool Fail(Failure failure, const std::wstring& sentence);

    FileSource m_file;
    BufferedSource m_input{m_file};
    std::unique_ptr<StreamDecoder> m_decoder;
    SourceFormat m_noFormat; // what a decoder that did not open gives
    std::wstring m_path;
    Failure m_failure = Failure::None;
    std::wstring m_error;
};
