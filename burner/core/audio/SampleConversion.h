// Sample conversions between 16-bit integers and floats (full scale 1.0).
// Float to 16-bit rounds to the nearest value and clips; there is no dither,
// so a 16-bit source that went through float comes back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

void FloatToInt16(const float* in, size_t count, int16_t* out);
void Int16ToFloat(const int16_t* in, size_t count, float* out);
