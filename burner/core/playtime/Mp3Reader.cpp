#include "burner/core/playtime/Mp3Reader.h"

#include "base/Bytes.h"
#include "burner/core/playtime/MpegFrame.h"
#include "burner/core/playtime/SequentialWindow.h"

#include <algorithm>

namespace {

constexpr uint32_t kSyncSearchBytes = 64 * 1024; // junk tolerated before a frame
constexpr int kChainToTrust = 3;                 // frames in a row that prove a sync
constexpr uint64_t kMaxFrames = 1u << 21;        // about 14 hours: beyond that, not ours
constexpr int kMaxResyncs = 64;
constexpr int kMaxId3Tags = 64;
// No layer III frame is smaller than this (8 kbit/s at 24 kHz).
constexpr uint64_t kSmallestFrame = 24;

struct Walk {
    uint64_t frames = 0;
    bool limitHit = false;
};

class FrameWalker {
public:
    explicit FrameWalker(ByteSource& source) : m_window(source), m_size(source.Size()) {}

    // The frame whose header starts at offset, if it fits in the file.
    bool FrameAt(uint64_t offset, MpegFrame& frame) {
        const uint8_t* p = m_window.At(offset, 4);
        return p != nullptr && ParseMpegFrame(Be32(p), frame) && offset + frame.size <= m_size;
    }
    uint32_t HeaderAt(uint64_t offset) {
        const uint8_t* p = m_window.At(offset, 4);
        return p != nullptr ? Be32(p) : 0;
    }

    // True when a run of frames of one stream starts at offset: several in a
    // row, or fewer that end exactly at the end of the file or at a tag.
    bool ChainAt(uint64_t offset, uint32_t stream) {
        uint64_t position = offset;
        for (int i = 0; i < kChainToTrust; ++i) {
            MpegFrame frame;
            if (!FrameAt(position, frame) || (HeaderAt(position) & kSameStreamMask) != stream)
                return false;
            position += frame.size;
            if (position == m_size || IsTrailingTag(position)) return true;
        }
        return true;
    }

    // The first offset in [from, from + span) where a chain starts; sets stream
    // to its stream bits (or keeps a given one).
    bool FindChain(uint64_t from, uint64_t span, uint32_t& stream, uint64_t& found) {
        uint64_t end = std::min(m_size, from + span);
        for (uint64_t offset = from; offset + 4 <= end; ++offset) {
            const uint8_t* p = m_window.At(offset, 4);
            if (p == nullptr) return false;
            if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) continue;
            uint32_t candidate = stream != 0 ? stream : (Be32(p) & kSameStreamMask);
            if (ChainAt(offset, candidate)) {
                stream = candidate;
                found = offset;
                return true;
            }
        }
        return false;
    }

    // Counts the frames from start on, stepping over junk between frames the
    // way decoders resynchronise.
    Walk CountFrames(uint64_t start, uint32_t stream) {
        Walk walk;
        uint64_t position = start;
        int resyncs = 0;
        while (true) {
            MpegFrame frame;
            uint32_t header = HeaderAt(position);
            if (ParseMpegFrame(header, frame) && (header & kSameStreamMask) == stream) {
                if (++walk.frames > kMaxFrames) {
                    walk.limitHit = true;
                    return walk;
                }
                // A last frame cut short still decodes, to its full length.
                if (position + frame.size >= m_size) return walk;
                position += frame.size;
                continue;
            }
            if (position >= m_size || IsTrailingTag(position) || ++resyncs > kMaxResyncs)
                return walk;
            uint64_t next;
            if (!FindChain(position + 1, kSyncSearchBytes, stream, next)) return walk;
            position = next;
        }
    }

private:
    bool IsTrailingTag(uint64_t offset) {
        const uint8_t* p = m_window.At(offset, 3);
        if (p == nullptr) return false;
        if (Tag(p, "TAG")) return true;
        const uint8_t* q = m_window.At(offset, 8);
        return q != nullptr && (Tag(q, "APETAGEX") || Tag(q, "LYRICSBE"));
    }

    SequentialWindow m_window;
    uint64_t m_size;
};

// The decoded length from the frames that decode and what the header says
// to trim at either end.
uint64_t TrimmedSamples(uint64_t decodedFrames, const MpegFrame& first, const XingHeader& vbr) {
    uint64_t samples = decodedFrames * first.samples;
    if (!vbr.hasDelays) return samples;
    if (vbr.frames != 0) {
        uint64_t lastWanted = vbr.frames * first.samples + kMp3DecoderDelay;
        lastWanted = lastWanted > vbr.endPad ? lastWanted - vbr.endPad : 0;
        samples = std::min(samples, lastWanted);
    }
    uint64_t skipped = vbr.startPad + kMp3DecoderDelay;
    return samples > skipped ? samples - skipped : 0;
}

} // namespace

uint64_t SkipId3v2Tags(ByteSource& source, bool& damaged) {
    damaged = false;
    uint64_t offset = 0;
    for (int i = 0; i < kMaxId3Tags; ++i) {
        uint8_t h[10];
        if (!source.ReadExact(offset, h, sizeof h) || !Tag(h, "ID3") || h[3] == 0xFF ||
            h[4] == 0xFF || ((h[6] | h[7] | h[8] | h[9]) & 0x80) != 0)
            return offset;
        uint64_t size = (static_cast<uint64_t>(h[6]) << 21) | (h[7] << 14) | (h[8] << 7) | h[9];
        bool footer = (h[5] & 0x10) != 0;
        offset += 10 + size + (footer ? 10 : 0);
        if (offset > source.Size()) {
            damaged = true;
            return source.Size();
        }
    }
    return offset;
}

AudioLength ReadMp3Length(ByteSource& source) {
    bool tagDamaged = false;
    const uint64_t audioStart = SkipId3v2Tags(source, tagDamaged);
    const bool tagged = audioStart > 0;
    if (tagDamaged) return AudioLength::With(LengthStatus::Damaged);
    const uint64_t size = source.Size();

    // Decoders look for a Xing/Info/VBRI header only in a frame right after
    // the tags, and take that frame for a header, not for sound.
    XingHeader vbr;
    MpegFrame headerFrame;
    uint8_t h[4];
    if (source.ReadExact(audioStart, h, 4) && ParseMpegFrame(Be32(h), headerFrame) &&
        headerFrame.layer == 3) {
        std::vector<uint8_t> w = source.Window(audioStart, 4 + 32 + 8 + 8 + 100 + 4 + 24);
        ReadXingHeader(w.data(), w.size(), vbr);
        // A stated size far below the file's means files joined together:
        // the frame count then covers only the first of them. (Decoders
        // measure from just after the frame header, hence the 4.)
        const uint64_t afterHeader = size - audioStart - 4;
        if (vbr.bytes != 0 && afterHeader > vbr.bytes && afterHeader - vbr.bytes > vbr.bytes / 16)
            vbr.frames = 0;
    }
    const bool skipHeaderFrame = vbr.frames != 0 || vbr.bytes != 0;
    const uint64_t searchFrom = audioStart + (skipHeaderFrame ? headerFrame.size : 0);

    // The header's count stands for the frames unless the file is cut short
    // of the size it states or is too small to hold that many frames.
    const uint64_t rest = size - audioStart;
    if (vbr.frames != 0 && (vbr.bytes == 0 || rest >= vbr.bytes) &&
        vbr.frames <= rest / kSmallestFrame)
        return AudioLength::Of(TrimmedSamples(vbr.frames, headerFrame, vbr), headerFrame.rate);

    FrameWalker walker(source);
    uint32_t stream = 0;
    uint64_t firstOffset = 0;
    if (!walker.FindChain(searchFrom, kSyncSearchBytes, stream, firstOffset)) {
        if (skipHeaderFrame) return AudioLength::Of(0, headerFrame.rate); // a header, no sound
        bool freeFormat = source.ReadExact(audioStart, h, 4) && IsFreeFormatHeader(Be32(h));
        return AudioLength::With(freeFormat || tagged ? LengthStatus::Unsettled
                                                      : LengthStatus::NotThisFormat);
    }
    MpegFrame first;
    walker.FrameAt(firstOffset, first);
    Walk walk = walker.CountFrames(firstOffset, stream);
    if (walk.limitHit) return AudioLength::With(LengthStatus::Unsettled);
    return AudioLength::Of(TrimmedSamples(walk.frames, first, vbr), first.rate);
}

bool LooksLikeMpegAudio(ByteSource& source, uint64_t start) {
    uint8_t h[4];
    if (source.ReadExact(start, h, 4) && IsFreeFormatHeader(Be32(h))) return true;
    FrameWalker walker(source);
    uint32_t stream = 0;
    uint64_t found = 0;
    return walker.FindChain(start, kSyncSearchBytes, stream, found);
}
