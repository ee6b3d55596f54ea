#include "burner/core/audio/OggFlacDecoder.h"

namespace {

using State = OggFlacDecoder::State;

State& Of(void* client) {
    return *static_cast<State*>(client);
}

FLAC__StreamDecoderReadStatus ReadBytes(const FLAC__StreamDecoder*, FLAC__byte buffer[],
                                        size_t* bytes, void* client) {
    State& state = Of(client);
    if (*bytes == 0) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    *bytes = state.source.ReadAt(state.offset, buffer, *bytes);
    state.offset += *bytes;
    return *bytes == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM
                       : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

FLAC__StreamDecoderSeekStatus Seek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* client) {
    State& state = Of(client);
    if (offset > state.source.Size()) return FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
    state.offset = offset;
    return FLAC__STREAM_DECODER_SEEK_STATUS_OK;
}

FLAC__StreamDecoderTellStatus Tell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* client) {
    *offset = Of(client).offset;
    return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus Length(const FLAC__StreamDecoder*, FLAC__uint64* length,
                                       void* client) {
    *length = Of(client).source.Size();
    return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool AtEnd(const FLAC__StreamDecoder*, void* client) {
    State& state = Of(client);
    return state.offset >= state.source.Size();
}

FLAC__StreamDecoderWriteStatus Write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                     const FLAC__int32* const channels[], void* client) {
    State& state = Of(client);
    const unsigned count = frame->header.channels;
    const unsigned bits = frame->header.bits_per_sample;
    if (!state.formatKnown) {
        state.format.rate = static_cast<int>(frame->header.sample_rate);
        state.format.channels = static_cast<int>(count);
        state.format.kind = bits <= 16 ? SampleKind::Int16 : SampleKind::Float32;
        state.bits = bits;
        state.formatKnown = true;
    }
    if (static_cast<int>(count) != state.format.channels || bits != state.bits ||
        static_cast<int>(frame->header.sample_rate) != state.format.rate) {
        state.formatChanged = true;
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }
    const size_t blocksize = frame->header.blocksize;
    const size_t start = state.frames * count;
    state.frames += blocksize;
    if (state.format.kind == SampleKind::Int16) {
        state.int16.resize(state.frames * count);
        const int shift = 16 - static_cast<int>(bits);
        for (size_t i = 0; i < blocksize; ++i)
            for (unsigned c = 0; c < count; ++c)
                state.int16[start + i * count + c] =
                    static_cast<int16_t>(channels[c][i] * (1 << shift));
    } else {
        state.float32.resize(state.frames * count);
        const float scale = 1.0f / static_cast<float>(1u << (bits - 1));
        for (size_t i = 0; i < blocksize; ++i)
            for (unsigned c = 0; c < count; ++c)
                state.float32[start + i * count + c] = static_cast<float>(channels[c][i]) * scale;
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void Metadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* client) {
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO)
        Of(client).totalFrames = metadata->data.stream_info.total_samples;
}

// A damaged frame is skipped by the decoder, which finds the next one.
void Error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

} // namespace

OggFlacDecoder::OggFlacDecoder(ByteSource& source) : m_state{source} {}

OggFlacDecoder::~OggFlacDecoder() {
    if (m_decoder != nullptr) FLAC__stream_decoder_delete(m_decoder);
}

bool OggFlacDecoder::Open() {
    m_decoder = FLAC__stream_decoder_new();
    if (m_decoder == nullptr ||
        FLAC__stream_decoder_init_ogg_stream(m_decoder, ReadBytes, Seek, Tell, Length, AtEnd, Write,
                                             Metadata, Error,
                                             &m_state) != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        m_problem = "the FLAC decoder could not start";
        return false;
    }
    // The header, then frames until the first one says what the samples are.
    while (!m_state.formatKnown) {
        if (!FLAC__stream_decoder_process_single(m_decoder) ||
            FLAC__stream_decoder_get_state(m_decoder) == FLAC__STREAM_DECODER_END_OF_STREAM)
            break;
    }
    if (!m_state.formatKnown || m_state.format.rate <= 0 || m_state.format.channels < 1) {
        m_problem = "no FLAC frame in it can be decoded";
        return false;
    }
    m_format = m_state.format;
    m_length = static_cast<int64_t>(m_state.totalFrames);
    return true;
}

StreamDecoder::Status OggFlacDecoder::Read(std::vector<int16_t>& int16, std::vector<float>& float32,
                                           size_t& frames) {
    frames = 0;
    if (m_decoder == nullptr) return Status::Error;
    while (m_state.frames == 0 && !m_ended) {
        bool going = FLAC__stream_decoder_process_single(m_decoder);
        if (m_state.formatChanged) {
            m_problem = "it changes its sample rate or channels part-way";
            return Status::Error;
        }
        // The end, or damage the decoder cannot read past: what came before
        // stands, as a player would play it.
        if (!going ||
            FLAC__stream_decoder_get_state(m_decoder) == FLAC__STREAM_DECODER_END_OF_STREAM)
            m_ended = true;
    }
    if (m_state.frames == 0) return Status::End;
    frames = m_state.frames;
    m_position += frames;
    if (m_format.kind == SampleKind::Int16)
        int16.swap(m_state.int16);
    else
        float32.swap(m_state.float32);
    m_state.int16.clear();
    m_state.float32.clear();
    m_state.frames = 0;
    return Status::Data;
}
