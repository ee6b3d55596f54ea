// The format of decoded audio as a decoder gives it.
#pragma once

#include <cstdint>

enum class SampleKind { Int16, Float32 };

struct SourceFormat {
    int rate = 0;
    int channels = 0;
    uint32_t channelMask = 0; // 0: the usual layout for the count
    SampleKind kind = SampleKind::Int16;
};
