// What Prepare found out and Burn works from.
#pragma once

#include "burner/core/image/CdLayout.h"

#include <cstdint>
#include <string>
#include <vector>

struct PlannedTrack {
    std::wstring path;
    int64_t estimatedFrames = 0; // from the file's stated length
    bool lengthStated = false;   // by its own headers, not guessed by a decoder
};

struct BurnPlan {
    std::vector<PlannedTrack> tracks;
    std::wstring folder;
    std::string label; // ANSI code page, as the options hold it
    bool ejectAfterBurn = false;

    int64_t EstimatedSectors() const {
        int64_t sectors = 0;
        for (const PlannedTrack& track : tracks)
            sectors += cd::TrackSectors(track.estimatedFrames);
        return sectors;
    }
};
