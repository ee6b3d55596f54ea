#include "burner/core/image/ImageWriter.h"

#include "burner/core/image/CdLayout.h"

bool ImageWriter::WriteFrames(const int16_t* stereo, size_t frames) {
    if (frames == 0) return true;
    // The image is little-endian, as this processor is: the samples go as they are.
    size_t bytes = frames * cd::kBytesPerFrame;
    if (!m_sink.Write(stereo, bytes)) return false;
    m_trackFrames += static_cast<int64_t>(frames);
    m_bytes += bytes;
    return true;
}

bool ImageWriter::EndTrack() {
    static const int16_t kSilence[cd::kFramesPerSector * cd::kChannels] = {};
    int64_t padding = cd::PaddingFrames(m_trackFrames);
    while (padding > 0) {
        size_t frames = padding < cd::kFramesPerSector ? static_cast<size_t>(padding)
                                                       : static_cast<size_t>(cd::kFramesPerSector);
        if (!m_sink.Write(kSilence, frames * cd::kBytesPerFrame)) return false;
        m_bytes += frames * cd::kBytesPerFrame;
        padding -= static_cast<int64_t>(frames);
    }
    m_trackSectors.push_back(cd::TrackSectors(m_trackFrames));
    m_trackFrames = 0;
    return true;
}
