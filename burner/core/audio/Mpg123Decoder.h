// MPEG audio (layers I, II and III) decoded by libmpg123 from a byte source,
// as floats. The library reads the LAME/Info tag and gives the stream
// gaplessly: without the encoder's delay and padding.
#pragma once

#include "burner/core/audio/StreamDecoder.h"
#include "burner/core/playtime/ByteSource.h"

#include <memory>

struct mpg123_handle_struct;

class Mpg123Decoder : public StreamDecoder {
public:
    explicit Mpg123Decoder(ByteSource& source);
    ~Mpg123Decoder() override;
    Mpg123Decoder(const Mpg123Decoder&) = delete;
    Mpg123Decoder& operator=(const Mpg123Decoder&) = delete;

    // Finds the first frames and the format; false with Problem() set when
    // there is no MPEG audio to decode.
    bool Open();

    Status Read(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames) override;

    // Where the library's reader callbacks read.
    struct Input {
        ByteSource& source;
        uint64_t offset;
    };

private:
    bool Fail(const std::string& problem);

    Input m_input;
    mpg123_handle_struct* m_handle = nullptr;
    bool m_ended = false;
};
