#include "burner/core/audio/Mpg123Decoder.h"

#include <mpg123.h>

#include <cstdio>
#include <limits>
#include <mutex>

namespace {

// Frames asked for at once: a few MPEG frames' worth.
constexpr size_t kBlockFrames = 4 * 1152;
// Junk tolerated between frames (and before the first), as the play-time
// reader tolerates it, so the length shown and the length burnt agree.
constexpr long kResyncLimit = 64 * 1024;

mpg123_ssize_t ReadCallback(void* handle, void* buffer, size_t count) {
    auto* input = static_cast<Mpg123Decoder::Input*>(handle);
    size_t got = input->source.ReadAt(input->offset, buffer, count);
    input->offset += got;
    return static_cast<mpg123_ssize_t>(got);
}

off_t SeekCallback(void* handle, off_t offset, int whence) {
    auto* input = static_cast<Mpg123Decoder::Input*>(handle);
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<int64_t>(input->offset);
    else if (whence == SEEK_END)
        base = static_cast<int64_t>(input->source.Size());
    else if (whence != SEEK_SET)
        return -1;
    int64_t target = base + static_cast<int64_t>(offset);
    if (target < 0 || target > static_cast<int64_t>(std::numeric_limits<off_t>::max())) return -1;
    input->offset = static_cast<uint64_t>(target);
    return static_cast<off_t>(target);
}

bool LibraryReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = mpg123_init() == MPG123_OK; });
    return ready;
}

} // namespace

Mpg123Decoder::Mpg123Decoder(ByteSource& source) : m_input{source, 0} {}

Mpg123Decoder::~Mpg123Decoder() {
    if (m_handle != nullptr) {
        mpg123_close(m_handle);
        mpg123_delete(m_handle);
    }
}

bool Mpg123Decoder::Fail(const std::string& problem) {
    m_problem = problem;
    return false;
}

bool Mpg123Decoder::Open() {
    if (!LibraryReady()) return Fail("the MPEG audio decoder could not start");
    // Offsets are 32-bit in this build of the library.
    if (m_input.source.Size() > static_cast<uint64_t>(std::numeric_limits<off_t>::max()))
        return Fail("it is larger than an MPEG audio file can be read here (2 GB)");
    int error = MPG123_OK;
    m_handle = mpg123_new(nullptr, &error);
    if (m_handle == nullptr) return Fail("the MPEG audio decoder could not start");
    mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_param(m_handle, MPG123_RESYNC_LIMIT, kResyncLimit, 0.0);
    // Floats at the stream's own rate and channel count, whatever they are.
    mpg123_format_none(m_handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_replace_reader_handle(m_handle, ReadCallback, SeekCallback, nullptr) != MPG123_OK ||
        mpg123_open_handle(m_handle, &m_input) != MPG123_OK)
        return Fail("the MPEG audio decoder could not start");
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(m_handle, &rate, &channels, &encoding) != MPG123_OK)
        return Fail("no MPEG audio frame in it can be decoded");
    if (encoding != MPG123_ENC_FLOAT_32 || rate <= 0 || channels < 1 || channels > 2)
        return Fail("its MPEG audio has a format the decoder cannot give");
    m_format.rate = static_cast<int>(rate);
    m_format.channels = channels;
    m_format.channelMask = 0;
    m_format.kind = SampleKind::Float32;
    // Exact with a LAME/Info tag; otherwise estimated from the file's size.
    off_t length = mpg123_length(m_handle);
    m_length = length > 0 ? static_cast<int64_t>(length) : 0;
    return true;
}

StreamDecoder::Status Mpg123Decoder::Read(std::vector<int16_t>&, std::vector<float>& float32,
                                          size_t& frames) {
    frames = 0;
    if (m_handle == nullptr) return Status::Error;
    if (m_ended) return Status::End;
    const size_t channels = static_cast<size_t>(m_format.channels);
    float32.resize(kBlockFrames * channels);
    for (;;) {
        size_t bytes = 0;
        int result = mpg123_read(m_handle, reinterpret_cast<unsigned char*>(float32.data()),
                                 float32.size() * sizeof(float), &bytes);
        frames = bytes / (sizeof(float) * channels);
        m_position += frames;
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int newChannels = 0;
            int encoding = 0;
            mpg123_getformat(m_handle, &rate, &newChannels, &encoding);
            if (rate != m_format.rate || newChannels != m_format.channels) {
                m_problem = "it changes its sample rate or channels part-way";
                return Status::Error;
            }
            if (frames > 0) return Status::Data;
            continue;
        }
        if (result == MPG123_OK) {
            if (frames > 0) return Status::Data;
            continue; // a frame that gave nothing (the encoder's delay)
        }
        if (result == MPG123_DONE) {
            m_ended = true;
            return frames > 0 ? Status::Data : Status::End;
        }
        // Junk beyond the resynchronisation limit: the rest of the file is
        // not audio, and players stop here too. What came before is kept.
        m_ended = true;
        if (m_position > 0) return frames > 0 ? Status::Data : Status::End;
        m_problem =
            std::string("its MPEG audio cannot be decoded (") + mpg123_strerror(m_handle) + ")";
        return Status::Error;
    }
}
