// Builders of small files in memory for the header readers' tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

void Append(Bytes& to, const Bytes& more);
void PutLe16(Bytes& to, uint32_t value);
void PutLe32(Bytes& to, uint32_t value);
void PutLe64(Bytes& to, uint64_t value);
void PutBe32(Bytes& to, uint32_t value);
void PutText(Bytes& to, const std::string& text);

// RIFF pieces.
Bytes Chunk(const std::string& id, const Bytes& body, uint32_t statedSize);
Bytes Chunk(const std::string& id, const Bytes& body);
Bytes PcmFormat(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
Bytes ExtensibleFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subtype);
Bytes RiffWave(const std::vector<Bytes>& chunks, const char* magic = "RIFF");

// MPEG-1 layer III at 44.1 kHz (or MPEG-2 at 22.05 kHz), silent body.
Bytes Mp3Frame(int bitrateIndex, bool padding, bool mpeg2 = false);
Bytes Id3v2(uint8_t version, uint32_t payload, bool footer);

// Ogg pages with correct checksums.
Bytes OggPage(uint8_t type, uint64_t granule, uint32_t serial, uint32_t sequence,
              const Bytes& packet);
Bytes VorbisIdPacket(uint32_t rate);
Bytes OpusHeadPacket(uint16_t preSkip);

// An ASF header with File Properties and one stream.
Bytes AsfFile(uint64_t playDuration, uint64_t prerollMs, uint32_t flags, bool audio,
              uint16_t formatTag, uint32_t rate);
