// Prepare's look at each file: it opens, it decodes, and how long it is.
#pragma once

#include "burner/audio/AudioDecoder.h"

#include <cstdint>
#include <string>
#include <vector>

struct ProbeResult {
    bool ok = false;
    int64_t estimatedFrames = 0;
    bool lengthStated = false; // estimatedFrames is what the file's headers state
    AudioDecoder::Failure failure = AudioDecoder::Failure::None;
    std::wstring error;
};

// Opens each file and decodes its first block, on up to two threads of its
// own (two cores halve the wait). Returns when every file has been looked at.
std::vector<ProbeResult> ProbeTracks(const std::vector<std::wstring>& paths);
