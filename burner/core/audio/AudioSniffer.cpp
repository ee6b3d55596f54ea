#include "burner/core/audio/AudioSniffer.h"

#include "burner/core/audio/Mpg123Decoder.h"
#include "burner/core/audio/OggFlacDecoder.h"
#include "burner/core/audio/SndfileDecoder.h"
#include "burner/core/playtime/AsfReader.h"
#include "base/Bytes.h"
#include "burner/core/playtime/Mp3Reader.h"

#include <cstring>

namespace {

const uint8_t kWave64Riff[16] = {0x72, 0x69, 0x66, 0x66, 0x2E, 0x91, 0xCF, 0x11,
                                 0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00};
const uint8_t kWave64Wave[16] = {0x77, 0x61, 0x76, 0x65, 0xF3, 0xAC, 0xD3, 0x11,
                                 0x8C, 0xD1, 0x00, 0xC0, 0x4F, 0x8E, 0xDB, 0x8A};

bool IsAdtsHeader(const uint8_t* p) {
    return p[0] == 0xFF && (p[1] & 0xF6) == 0xF0;
}

// Two AAC frames in a row, the first at offset.
bool LooksLikeAdts(ByteSource& source, uint64_t offset) {
    uint8_t first[7];
    if (!source.ReadExact(offset, first, sizeof first) || !IsAdtsHeader(first)) return false;
    uint32_t size = ((first[3] & 3u) << 11) | (first[4] << 3) | (first[5] >> 5);
    uint8_t second[7];
    return size >= 7 && source.ReadExact(offset + size, second, sizeof second) &&
           IsAdtsHeader(second);
}

// The codec of an Ogg stream, by its first packet.
AudioContainer OggCodec(ByteSource& source, uint64_t offset) {
    uint8_t header[27 + 255];
    size_t got = source.ReadAt(offset, header, sizeof header);
    if (got < 27 || got < 27u + header[26]) return AudioContainer::OggOther;
    uint8_t packet[8] = {};
    if (!source.ReadExact(offset + 27 + header[26], packet, sizeof packet))
        return AudioContainer::OggOther;
    if (std::memcmp(packet, "\x01vorbis", 7) == 0) return AudioContainer::OggVorbis;
    if (std::memcmp(packet, "OpusHead", 8) == 0) return AudioContainer::OggOpus;
    if (std::memcmp(packet,
                    "\x7F"
                    "FLAC",
                    5) == 0)
        return AudioContainer::OggFlac;
    return AudioContainer::OggOther;
}

template <class Decoder>
std::unique_ptr<StreamDecoder> Opened(std::unique_ptr<Decoder> decoder, std::string& problem) {
    if (decoder->Open()) return decoder;
    problem = decoder->Problem();
    return nullptr;
}

} // namespace

AudioContainer SniffAudio(ByteSource& source) {
    uint8_t h[40] = {};
    size_t got = source.ReadAt(0, h, sizeof h);
    if (got >= 12 && (Tag(h, "RIFF") || Tag(h, "RF64") || Tag(h, "BW64")) && Tag(h + 8, "WAVE"))
        return AudioContainer::Wave;
    if (got >= 40 && std::memcmp(h, kWave64Riff, 16) == 0 &&
        std::memcmp(h + 24, kWave64Wave, 16) == 0)
        return AudioContainer::Wave64;
    if (got >= 12 && Tag(h, "FORM") && (Tag(h + 8, "AIFF") || Tag(h + 8, "AIFC")))
        return AudioContainer::Aiff;
    if (LooksLikeAsf(h, got)) return AudioContainer::Asf;
    if (got >= 8 && Tag(h + 4, "ftyp")) return AudioContainer::Mp4;
    if (got >= 4 && Tag(h, "OggS")) return OggCodec(source, 0);
    // Tags may stand before FLAC, MPEG and ADTS streams.
    bool damaged = false;
    uint64_t start = SkipId3v2Tags(source, damaged);
    uint8_t after[4] = {};
    if (source.ReadExact(start, after, sizeof after) && Tag(after, "fLaC"))
        return AudioContainer::Flac;
    if (LooksLikeMpegAudio(source, start)) return AudioContainer::Mpeg;
    if (LooksLikeAdts(source, start)) return AudioContainer::Adts;
    return AudioContainer::Unknown;
}

DecoderFamily FamilyOf(AudioContainer container) {
    switch (container) {
    case AudioContainer::Asf:
    case AudioContainer::Mp4:
    case AudioContainer::Adts:
        return DecoderFamily::Platform;
    case AudioContainer::OggOther:
        return DecoderFamily::None;
    default:
        return DecoderFamily::Library;
    }
}

const char* DescribeContainer(AudioContainer container) {
    switch (container) {
    case AudioContainer::Mpeg:
        return "an MPEG audio (MP3) file";
    case AudioContainer::Wave:
        return "a WAV file";
    case AudioContainer::Wave64:
        return "a Wave64 file";
    case AudioContainer::Aiff:
        return "an AIFF file";
    case AudioContainer::Flac:
        return "a FLAC file";
    case AudioContainer::OggVorbis:
        return "an Ogg Vorbis file";
    case AudioContainer::OggOpus:
        return "an Ogg Opus file";
    case AudioContainer::OggFlac:
        return "an Ogg FLAC file";
    case AudioContainer::OggOther:
        return "an Ogg file";
    case AudioContainer::Asf:
        return "a Windows Media file";
    case AudioContainer::Mp4:
        return "an MP4 file";
    case AudioContainer::Adts:
        return "an AAC file";
    case AudioContainer::Unknown:
        break;
    }
    return "an audio file";
}

std::unique_ptr<StreamDecoder> OpenLibraryDecoder(ByteSource& source, AudioContainer container,
                                                  std::string& problem) {
    if (FamilyOf(container) != DecoderFamily::Library) {
        problem = "it is not audio that this program decodes itself";
        return nullptr;
    }
    if (container == AudioContainer::Mpeg)
        return Opened(std::make_unique<Mpg123Decoder>(source), problem);
    if (container == AudioContainer::OggFlac)
        return Opened(std::make_unique<OggFlacDecoder>(source), problem);
    return Opened(std::make_unique<SndfileDecoder>(source), problem);
}
