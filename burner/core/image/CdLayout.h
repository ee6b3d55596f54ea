// The arithmetic of an audio disc: sectors of 588 stereo frames (1/75 s),
// the 2-second pregap before track 1, the 4-second shortest track and the
// capacity of an 80-minute disc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cd {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kBytesPerFrame = 4; // 16-bit stereo
constexpr int kFramesPerSector = 588;
constexpr int kBytesPerSector = kFramesPerSector * kBytesPerFrame; // 2,352
constexpr int kSectorsPerSecond = 75;
constexpr int kPregapSectors = 2 * kSectorsPerSecond;
constexpr int kMinTrackSectors = 4 * kSectorsPerSecond;
constexpr int kMaxTracks = 99;
// The lead-out of an 80-minute disc starts at 79:59:74; less the pregap.
constexpr int64_t kDiscSectors80 =
    (79 * 60 + 59) * int64_t{kSectorsPerSecond} + 74 - kPregapSectors;

// Sectors a track of this many frames takes: whole sectors, at least 4 s.
int64_t TrackSectors(int64_t frames);

// Frames of silence that pad a track of this many frames to its sectors.
int64_t PaddingFrames(int64_t frames);

// Frames at 44,100 Hz for a number of frames at another rate, rounded up.
int64_t DiscFramesFor(int64_t frames, int rate);

// "mm:ss:ff" (minutes may pass 99 for sizes beyond a disc).
std::string Msf(int64_t sectors);

// "mm:ss" for a number of sectors, rounded down to whole seconds.
std::string MinutesSeconds(int64_t sectors);

// Where each track's INDEX 01 lies: the sum of the sectors before it.
std::vector<int64_t> TrackStarts(const std::vector<int64_t>& trackSectors);

} // namespace cd
