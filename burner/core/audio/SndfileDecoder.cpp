#include "burner/core/audio/SndfileDecoder.h"

#include "base/Bytes.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

constexpr sf_count_t kBlockFrames = 4096;
// A failed open leaves its reason in the library's globals.
std::mutex g_openMutex;

sf_count_t Length(void* user) {
    return static_cast<sf_count_t>(static_cast<SndfileDecoder::Input*>(user)->source.Size());
}

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    auto* input = static_cast<SndfileDecoder::Input*>(user);
    sf_count_t base = whence == SEEK_CUR   ? input->offset
                      : whence == SEEK_END ? static_cast<sf_count_t>(input->source.Size())
                                           : 0;
    sf_count_t target = base + offset;
    if (target < 0) return -1;
    input->offset = target;
    return target;
}

sf_count_t ReadBytes(void* buffer, sf_count_t count, void* user) {
    auto* input = static_cast<SndfileDecoder::Input*>(user);
    if (count <= 0) return 0;
    size_t got = input->source.ReadAt(static_cast<uint64_t>(input->offset), buffer,
                                      static_cast<size_t>(count));
    const uint64_t size = input->source.Size();
    const uint64_t at = static_cast<uint64_t>(input->offset);
    if (got < static_cast<size_t>(count) && at + got < size) {
        // The source gives less than it states (a bad sector, a file cut
        // while read). The library would walk the missing part's chunks
        // forever, so it is given zeros up to the stated end, and the
        // decoding fails on the mark.
        input->unreadable = true;
        const size_t promised = static_cast<size_t>(std::min<uint64_t>(count, size - at));
        std::memset(static_cast<char*>(buffer) + got, 0, promised - got);
        got = promised;
    }
    input->offset += static_cast<sf_count_t>(got);
    return static_cast<sf_count_t>(got);
}

sf_count_t WriteBytes(const void*, sf_count_t, void*) {
    return 0; // opened for reading only
}

sf_count_t Tell(void* user) {
    return static_cast<SndfileDecoder::Input*>(user)->offset;
}

// Whether the library gives the source's samples exactly as 16-bit ones.
bool FitsSixteenBits(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
    case SF_FORMAT_IMA_ADPCM:
    case SF_FORMAT_MS_ADPCM:
    case SF_FORMAT_GSM610:
    case SF_FORMAT_VOX_ADPCM:
    case SF_FORMAT_G721_32:
    case SF_FORMAT_G723_24:
    case SF_FORMAT_G723_40:
    case SF_FORMAT_DWVW_12:
    case SF_FORMAT_DWVW_16:
    case SF_FORMAT_ALAC_16:
    case SF_FORMAT_NMS_ADPCM_16:
    case SF_FORMAT_NMS_ADPCM_24:
    case SF_FORMAT_NMS_ADPCM_32:
        return true;
    default:
        return false;
    }
}

// The Windows speaker bit of one of the library's channel positions.
int SpeakerBit(int position) {
    switch (position) {
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT:
        return 0;
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT:
        return 1;
    case SF_CHANNEL_MAP_MONO:
    case SF_CHANNEL_MAP_CENTER:
    case SF_CHANNEL_MAP_FRONT_CENTER:
        return 2;
    case SF_CHANNEL_MAP_LFE:
        return 3;
    case SF_CHANNEL_MAP_REAR_LEFT:
        return 4;
    case SF_CHANNEL_MAP_REAR_RIGHT:
        return 5;
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
        return 6;
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
        return 7;
    case SF_CHANNEL_MAP_REAR_CENTER:
        return 8;
    case SF_CHANNEL_MAP_SIDE_LEFT:
        return 9;
    case SF_CHANNEL_MAP_SIDE_RIGHT:
        return 10;
    case SF_CHANNEL_MAP_TOP_CENTER:
        return 11;
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
        return 12;
    case SF_CHANNEL_MAP_TOP_FRONT_CENTER:
        return 13;
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
        return 14;
    case SF_CHANNEL_MAP_TOP_REAR_LEFT:
        return 15;
    case SF_CHANNEL_MAP_TOP_REAR_CENTER:
        return 16;
    case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
        return 17;
    default:
        return -1;
    }
}

// Whether a RIFF file's LIST chunks hold a sub-chunk stating a size of 2 GiB
// or more. The library's walk of such a list adds the size in 32 bits, goes
// back instead of on, and never ends; no real file holds such metadata.
bool HasRunawayListEntry(ByteSource& source) {
    uint8_t head[12];
    if (source.ReadAt(0, head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0) return false;
    const uint64_t size = source.Size();
    uint64_t chunk = 12;
    for (int chunks = 0; chunks < 4096 && chunk + 8 <= size; ++chunks) {
        uint8_t header[8];
        if (source.ReadAt(chunk, header, 8) != 8) return false;
        const uint64_t length = Le32(header + 4);
        if (std::memcmp(header, "LIST", 4) == 0) {
            const uint64_t end = std::min(size, chunk + 8 + length);
            uint64_t at = chunk + 8;
            for (int entries = 0; entries < 65536 && at + 4 <= end; ++entries) {
                uint8_t entry[8];
                if (source.ReadAt(at, entry, 4) != 4) return false;
                if (std::memcmp(entry, "INFO", 4) == 0 || std::memcmp(entry, "adtl", 4) == 0) {
                    at += 4;
                    continue;
                }
                if (Le32(entry) == 0 || std::memcmp(entry, "data", 4) == 0) break;
                if (at + 8 > end || source.ReadAt(at + 4, entry + 4, 4) != 4) break;
                const uint64_t entrySize = Le32(entry + 4);
                if (entrySize >= 0x80000000u) return true;
                at += 8 + entrySize + (entrySize & 1);
            }
        }
        chunk += 8 + length + (length & 1);
    }
    return false;
}

} // namespace

bool OrderBySpeakerBits(const std::vector<int>& positions, std::vector<int>& order,
                        uint32_t& mask) {
    uint32_t bits = 0;
    for (int position : positions) {
        if (position < 0 || position > 31 || (bits & (1u << position))) return false;
        bits |= 1u << position;
    }
    order.resize(positions.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return positions[a] < positions[b]; });
    mask = bits;
    return true;
}

std::vector<int> VorbisChannelPositions(int channels) {
    // Front left, centre, right; rear or side pairs; back centre; LFE last.
    switch (channels) {
    case 1:
        return {2};
    case 2:
        return {0, 1};
    case 3:
        return {0, 2, 1};
    case 4:
        return {0, 1, 4, 5};
    case 5:
        return {0, 2, 1, 4, 5};
    case 6:
        return {0, 2, 1, 4, 5, 3};
    case 7:
        return {0, 2, 1, 9, 10, 8, 3};
    case 8:
        return {0, 2, 1, 9, 10, 4, 5, 3};
    default:
        return {};
    }
}

SndfileDecoder::SndfileDecoder(ByteSource& source) : m_input{source, 0, false} {}

SndfileDecoder::~SndfileDecoder() {
    if (m_file != nullptr) sf_close(m_file);
}

bool SndfileDecoder::Fail(const std::string& problem) {
    m_problem = problem;
    return false;
}

bool SndfileDecoder::Open() {
    if (HasRunawayListEntry(m_input.source)) return Fail("its headers are damaged");
    SF_VIRTUAL_IO io{Length, Seek, ReadBytes, WriteBytes, Tell};
    SF_INFO info{};
    {
        std::lock_guard<std::mutex> lock(g_openMutex);
        m_file = sf_open_virtual(&io, SFM_READ, &info, &m_input);
        if (m_file == nullptr) {
            std::string reason = sf_strerror(nullptr);
            return Fail("it cannot be decoded (" + reason + ")");
        }
    }
    if (m_input.unreadable) return Fail("part of it cannot be read");
    if (info.channels < 1 || info.samplerate < 1)
        return Fail("its headers state no channels or no sample rate");
    m_format.rate = info.samplerate;
    m_format.channels = info.channels;
    m_format.kind = FitsSixteenBits(info.format) ? SampleKind::Int16 : SampleKind::Float32;
    m_length = info.frames > 0 && info.frames < SF_COUNT_MAX ? info.frames : 0;
    // Floats beyond full scale are kept as they are; the disc's rounding clips them.
    sf_command(m_file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    ChooseChannelOrder(info.format);
    return true;
}

void SndfileDecoder::ChooseChannelOrder(int container) {
    const int channels = m_format.channels;
    m_format.channelMask = 0;
    if (channels < 3) return; // mono and stereo need no layout
    std::vector<int> positions;
    const int major = container & SF_FORMAT_TYPEMASK;
    const int sub = container & SF_FORMAT_SUBMASK;
    if (major == SF_FORMAT_OGG && (sub == SF_FORMAT_VORBIS || sub == SF_FORMAT_OPUS)) {
        // The library passes these streams' channels on in their own order.
        positions = VorbisChannelPositions(channels);
    } else {
        std::vector<int> map(static_cast<size_t>(channels));
        if (sf_command(m_file, SFC_GET_CHANNEL_MAP_INFO, map.data(),
                       static_cast<int>(map.size() * sizeof(int))) == SF_TRUE) {
            for (int position : map)
                positions.push_back(SpeakerBit(position));
        }
    }
    std::vector<int> order;
    uint32_t mask = 0;
    if (positions.empty() || !OrderBySpeakerBits(positions, order, mask)) return;
    m_format.channelMask = mask;
    bool inOrder = true;
    for (size_t i = 0; i < order.size(); ++i)
        inOrder = inOrder && order[i] == static_cast<int>(i);
    if (!inOrder) m_order = order;
}

template <class Sample> void SndfileDecoder::Reorder(Sample* samples, size_t frames) {
    const size_t channels = m_order.size();
    Sample frame[64];
    for (size_t f = 0; f < frames; ++f) {
        Sample* at = samples + f * channels;
        std::copy(at, at + channels, frame);
        for (size_t c = 0; c < channels; ++c)
            at[c] = frame[m_order[c]];
    }
}

StreamDecoder::Status SndfileDecoder::Read(std::vector<int16_t>& int16, std::vector<float>& float32,
                                           size_t& frames) {
    frames = 0;
    if (m_file == nullptr) return Status::Error;
    if (m_ended) return Status::End;
    const size_t channels = static_cast<size_t>(m_format.channels);
    sf_count_t got = 0;
    if (m_format.kind == SampleKind::Int16) {
        int16.resize(static_cast<size_t>(kBlockFrames) * channels);
        got = sf_readf_short(m_file, int16.data(), kBlockFrames);
        if (got > 0 && !m_order.empty()) Reorder(int16.data(), static_cast<size_t>(got));
    } else {
        float32.resize(static_cast<size_t>(kBlockFrames) * channels);
        got = sf_readf_float(m_file, float32.data(), kBlockFrames);
        if (got > 0 && !m_order.empty()) Reorder(float32.data(), static_cast<size_t>(got));
    }
    if (m_input.unreadable) {
        m_problem = "part of it cannot be read";
        return Status::Error;
    }
    if (got <= 0) {
        // The end, or damage the library could not read past: what came
        // before stands, as a player would play it.
        m_ended = true;
        return Status::End;
    }
    frames = static_cast<size_t>(got);
    m_position += frames;
    return Status::Data;
}
