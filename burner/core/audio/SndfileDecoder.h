// WAV (every codec in it), Wave64, RF64, AIFF, FLAC, Ogg Vorbis, Ogg Opus
// and FLAC in Ogg decoded by libsndfile from a byte source. Sources whose
// samples fit 16 bits exactly (8- and 16-bit PCM, A-law, µ-law, the ADPCMs,
// 16-bit FLAC) come as 16-bit samples, bit for bit; everything else as floats.
#pragma once

#include "burner/core/audio/StreamDecoder.h"
#include "burner/core/playtime/ByteSource.h"

#include <vector>

struct sf_private_tag;

class SndfileDecoder : public StreamDecoder {
public:
    explicit SndfileDecoder(ByteSource& source);
    ~SndfileDecoder() override;
    SndfileDecoder(const SndfileDecoder&) = delete;
    SndfileDecoder& operator=(const SndfileDecoder&) = delete;

    // Reads the headers; false with Problem() set when the library cannot
    // decode the source.
    bool Open();

    Status Read(std::vector<int16_t>& int16, std::vector<float>& float32, size_t& frames) override;

    // Where the library's virtual I/O callbacks read.
    struct Input {
        ByteSource& source;
        int64_t offset;
        bool unreadable = false; // a read came short of the stated size
    };

private:
    bool Fail(const std::string& problem);
    void ChooseChannelOrder(int container);
    template <class Sample> void Reorder(Sample* samples, size_t frames);

    Input m_input;
    sf_private_tag* m_file = nullptr;
    // The source channel that goes to each place, when the source's order
    // is not that of the speaker bits; empty when it is.
    std::vector<int> m_order;
    bool m_ended = false;
};

// Speaker bits for channels given in their positions, and the order that
// puts them in bit order. positions: each channel's speaker bit (0-17), or
// -1 when it has none. Returns false (and leaves the outputs) when the
// positions do not give a layout: a channel without one, or two on one bit.
bool OrderBySpeakerBits(const std::vector<int>& positions, std::vector<int>& order, uint32_t& mask);

// The speaker bits of the channels of Vorbis (and Opus family 1) streams of
// 1 to 8 channels, in the stream's order; empty for other counts.
std::vector<int> VorbisChannelPositions(int channels);
