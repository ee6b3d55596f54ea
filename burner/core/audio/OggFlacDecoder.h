// FLAC in Ogg decoded by libFLAC itself from a byte source. (libsndfile
// recognises such streams but hands them to its native FLAC reader, which
// cannot read them.) 16-bit and narrower sources come as 16-bit samples,
// bit for bit; wider ones as floats.
#pragma once

#include "burner/core/audio/StreamDecoder.h"
#include "burner/core/playtime/ByteSource.h"

#include <FLAC/stream_decoder.h>

class OggFlacDecoder : public StreamDecoder {
public:
    explicit OggFlacDecoder(ByteSource& source);
    ~OggFlacDecoder() override;
    OggFlacDecoder(const OggFlacDecoder&) = delete;
    OggFlacDecoder& operator=(const OggFlacDecoder&) = delete;

    // Reads the stream's header; false with Problem() set when it cannot.
    bool Open();

    Status Read(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames) override;

    // For the library's callbacks.
    struct State {
        explicit State(ByteSource& from) : source(from) {}
        ByteSource& source;
        uint64_t offset = 0;
        unsigned bits = 0;
        bool formatKnown = false;
        bool formatChanged = false;
        SourceFormat format;
        uint64_t totalFrames = 0;
        std::vector<int16_t> int16;
        std::vector<float> float32;
        size_t frames = 0; // decoded and not yet given
    };

private:
    State m_state;
    FLAC__StreamDecoder* m_decoder = nullptr;
    bool m_ended = false;
};
