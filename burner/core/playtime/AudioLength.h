// What a header reader found out about a file.
#pragma once

#include <cstdint>

enum class LengthStatus {
    Settled,       // frames and rate hold the decoded length
    NotThisFormat, // the reader does not recognise the file
    Unsettled,     // recognised, but a variant the reader cannot measure
    Damaged,       // recognised, but broken: cut short or impossible values
};

struct AudioLength {
    LengthStatus status = LengthStatus::NotThisFormat;
    uint64_t frames = 0; // sample frames the decoder gives
    uint32_t rate = 0;   // frames per second

    static AudioLength Of(uint64_t frames, uint32_t rate) {
        return {LengthStatus::Settled, frames, rate};
    }
    static AudioLength With(LengthStatus status) { return {status, 0, 0}; }
    bool IsSettled() const { return status == LengthStatus::Settled; }
};
