// Windows Media (and MP4/AAC) decoded by the platform's media framework,
// Media Foundation's Source Reader, at the file's own rate and channel
// count: 16-bit samples when the file's own samples are 16-bit, floats
// otherwise. It holds its own COM and Media Foundation scope, so it must be
// used and destroyed on the thread that opened it.
#pragma once

#include "burner/audio/MediaFoundation.h"
#include "burner/core/audio/StreamDecoder.h"

#include <mfidl.h>
#include <mfreadwrite.h>

#include <string>

class MediaFoundationDecoder : public StreamDecoder {
public:
    // False with Problem() set when the framework cannot decode the file.
    bool Open(const std::wstring& path);

    Status Read(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames) override;

private:
    bool ChooseOutput();
    bool Fail(const std::string& problem);

    MediaFoundationScope m_platform; // first in, last out
    ComPtr<IMFSourceReader> m_reader;
};
