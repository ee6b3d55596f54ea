#include "burner/core/audio/SampleConversion.h"

#include <cmath>

void FloatToInt16(const float* in, size_t count, int16_t* out) {
    for (size_t i = 0; i < count; ++i) {
        float scaled = in[i] * 32768.0f;
        // Clip before converting: lrintf of a value beyond 32 bits is undefined.
        if (scaled != scaled)
            out[i] = 0; // a NaN from a broken stream becomes silence, not a click
        else if (scaled >= 32767.0f)
            out[i] = 32767;
        else if (scaled <= -32768.0f)
            out[i] = -32768;
        else
            out[i] = static_cast<int16_t>(std::lrintf(scaled));
    }
}

void Int16ToFloat(const int16_t* in, size_t count, float* out) {
    constexpr float kScale = 1.0f / 32768.0f;
    for (size_t i = 0; i < count; ++i)
        out[i] = static_cast<float>(in[i]) * kScale;
}
