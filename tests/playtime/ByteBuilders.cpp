#include "ByteBuilders.h"

#include "burner/playtime/OggReader.h"

void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}
void PutLe16(Bytes& to, uint32_t v) {
    to.push_back(v & 0xFF);
    to.push_back((v >> 8) & 0xFF);
}
void PutLe32(Bytes& to, uint32_t v) {
    PutLe16(to, v & 0xFFFF);
    PutLe16(to, v >> 16);
}
void PutLe64(Bytes& to, uint64_t v) {
    PutLe32(to, static_cast<uint32_t>(v));
    PutLe32(to, static_cast<uint32_t>(v >> 32));
}
void PutBe32(Bytes& to, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        to.push_back((v >> shift) & 0xFF);
}
void PutText(Bytes& to, const std::string& text) {
    to.insert(to.end(), text.begin(), text.end());
}

Bytes Chunk(const std::string& id, const Bytes& body, uint32_t statedSize) {
    Bytes chunk;
    PutText(chunk, id);
    PutLe32(chunk, statedSize);
    Append(chunk, body);
    if (body.size() & 1) chunk.push_back(0);
    return chunk;
}
Bytes Chunk(const std::string& id, const Bytes& body) {
    return Chunk(id, body, static_cast<uint32_t>(body.size()));
}

Bytes PcmFormat(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes f;
    uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    PutLe16(f, tag);
    PutLe16(f, channels);
    PutLe32(f, rate);
    PutLe32(f, rate * block);
    PutLe16(f, block);
    PutLe16(f, bits);
    return f;
}

Bytes ExtensibleFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subtype) {
    Bytes f = PcmFormat(0xFFFE, channels, rate, bits);
    PutLe16(f, 22);
    PutLe16(f, bits);
    PutLe32(f, 0x3F);
    PutLe16(f, subtype);
    Append(f, {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    return f;
}

Bytes RiffWave(const std::vector<Bytes>& chunks, const char* magic) {
    Bytes body;
    PutText(body, "WAVE");
    for (const Bytes& c : chunks)
        Append(body, c);
    Bytes file;
    PutText(file, magic);
    PutLe32(file, static_cast<uint32_t>(body.size()));
    Append(file, body);
    return file;
}

Bytes Mp3Frame(int bitrateIndex, bool padding, bool mpeg2) {
    static const int kMpeg1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const int kMpeg2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    size_t size = mpeg2 ? 72 * kMpeg2[bitrateIndex] * 1000 / 22050
                        : 144 * kMpeg1[bitrateIndex] * 1000 / 44100;
    size += padding ? 1 : 0;
    Bytes frame(size, 0);
    frame[0] = 0xFF;
    frame[1] = mpeg2 ? 0xF3 : 0xFB;
    frame[2] = static_cast<uint8_t>(bitrateIndex << 4 | (padding ? 2 : 0));
    frame[3] = 0x00;
    return frame;
}

Bytes Id3v2(uint8_t version, uint32_t payload, bool footer) {
    Bytes tag;
    auto syncsafe = [](Bytes& to, uint32_t n) {
        for (int shift = 21; shift >= 0; shift -= 7)
            to.push_back((n >> shift) & 0x7F);
    };
    PutText(tag, "ID3");
    tag.push_back(version);
    tag.push_back(0);
    tag.push_back(footer ? 0x10 : 0);
    syncsafe(tag, payload);
    tag.resize(tag.size() + payload, 0);
    if (footer) {
        PutText(tag, "3DI");
        tag.push_back(version);
        tag.push_back(0);
        tag.push_back(0x10);
        syncsafe(tag, payload);
    }
    return tag;
}

Bytes OggPage(uint8_t type, uint64_t granule, uint32_t serial, uint32_t sequence,
              const Bytes& packet) {
    Bytes page;
    PutText(page, "OggS");
    page.push_back(0);
    page.push_back(type);
    PutLe64(page, granule);
    PutLe32(page, serial);
    PutLe32(page, sequence);
    PutLe32(page, 0);
    size_t segments = packet.size() / 255 + 1;
    page.push_back(static_cast<uint8_t>(segments));
    for (size_t i = 0; i + 1 < segments; ++i)
        page.push_back(255);
    page.push_back(static_cast<uint8_t>(packet.size() % 255));
    Append(page, packet);
    uint32_t crc = OggChecksum(page.data(), page.size());
    for (int i = 0; i < 4; ++i)
        page[22 + i] = (crc >> (8 * i)) & 0xFF;
    return page;
}

Bytes VorbisIdPacket(uint32_t rate) {
    Bytes p = {1};
    PutText(p, "vorbis");
    PutLe32(p, 0);
    p.push_back(2);
    PutLe32(p, rate);
    p.resize(30, 0);
    return p;
}

Bytes OpusHeadPacket(uint16_t preSkip) {
    Bytes p;
    PutText(p, "OpusHead");
    p.push_back(1);
    p.push_back(2);
    PutLe16(p, preSkip);
    PutLe32(p, 44100);
    p.resize(19, 0);
    return p;
}

namespace {

Bytes Guid(std::initializer_list<uint8_t> bytes) {
    return Bytes(bytes);
}
const Bytes kHeaderGuid = Guid({0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00,
                                0xAA, 0x00, 0x62, 0xCE, 0x6C});
const Bytes kFilePropertiesGuid = Guid({0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11, 0x8E, 0xE4,
                                        0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65});
const Bytes kStreamPropertiesGuid = Guid({0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11, 0x8E,
                                          0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65});
const Bytes kAudioGuid = Guid({0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11, 0xA8, 0xFD, 0x00,
                               0x80, 0x5F, 0x5C, 0x44, 0x2B});
const Bytes kVideoGuid = Guid({0xC0, 0xEF, 0x19, 0xBC, 0x4D, 0x5B, 0xCF, 0x11, 0xA8, 0xFD, 0x00,
                               0x80, 0x5F, 0x5C, 0x44, 0x2B});

Bytes Object(const Bytes& guid, const Bytes& body) {
    Bytes o = guid;
    PutLe64(o, 24 + body.size());
    Append(o, body);
    return o;
}

} // namespace

Bytes AsfFile(uint64_t playDuration, uint64_t prerollMs, uint32_t flags, bool audio,
              uint16_t formatTag, uint32_t rate) {
    Bytes props(16, 0x11); // file id
    PutLe64(props, 0);     // file size
    PutLe64(props, 0);     // creation date
    PutLe64(props, 0);     // data packets
    PutLe64(props, playDuration);
    PutLe64(props, playDuration); // send duration
    PutLe64(props, prerollMs);
    PutLe32(props, flags);
    PutLe32(props, 3200);
    PutLe32(props, 3200);
    PutLe32(props, 128000);

    Bytes stream = audio ? kAudioGuid : kVideoGuid;
    stream.resize(stream.size() + 16, 0); // error correction type
    PutLe64(stream, 0);                   // time offset
    PutLe32(stream, 18);                  // type-specific length
    PutLe32(stream, 0);
    PutLe16(stream, 1);
    PutLe32(stream, 0);
    PutLe16(stream, formatTag);
    PutLe16(stream, 2);
    PutLe32(stream, rate);
    PutLe32(stream, 16000);
    PutLe16(stream, 743);
    PutLe16(stream, 16);
    PutLe16(stream, 0);

    Bytes objects = Object(kFilePropertiesGuid, props);
    Append(objects, Object(kStreamPropertiesGuid, stream));
    Bytes file = kHeaderGuid;
    PutLe64(file, 30 + objects.size());
    PutLe32(file, 2);
    file.push_back(1);
    file.push_back(2);
    Append(file, objects);
    file.resize(file.size() + 4000, 0); // stands in for the data object
    return file;
}
