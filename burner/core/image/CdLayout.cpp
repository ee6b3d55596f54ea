#include "burner/core/image/CdLayout.h"

#include <cstdio>

namespace cd {

int64_t TrackSectors(int64_t frames) {
    if (frames < 0) frames = 0;
    int64_t sectors = (frames + kFramesPerSector - 1) / kFramesPerSector;
    return sectors < kMinTrackSectors ? kMinTrackSectors : sectors;
}

int64_t PaddingFrames(int64_t frames) {
    if (frames < 0) frames = 0;
    return TrackSectors(frames) * kFramesPerSector - frames;
}

int64_t DiscFramesFor(int64_t frames, int rate) {
    if (frames <= 0 || rate <= 0) return 0;
    // No overflow below 2^63 / 44,100 frames: ages of audio at any rate.
    return (frames * kSampleRate + rate - 1) / rate;
}

std::string Msf(int64_t sectors) {
    if (sectors < 0) sectors = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld",
                  static_cast<long long>(sectors / (60 * kSectorsPerSecond)),
                  static_cast<long long>(sectors / kSectorsPerSecond % 60),
                  static_cast<long long>(sectors % kSectorsPerSecond));
    return text;
}

std::string MinutesSeconds(int64_t sectors) {
    if (sectors < 0) sectors = 0;
    int64_t seconds = sectors / kSectorsPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

std::vector<int64_t> TrackStarts(const std::vector<int64_t>& trackSectors) {
    std::vector<int64_t> starts;
    starts.reserve(trackSectors.size());
    int64_t position = 0;
    for (int64_t sectors : trackSectors) {
        starts.push_back(position);
        position += sectors;
    }
    return starts;
}

} // namespace cd
