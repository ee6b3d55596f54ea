// Play time of an audio file: its own headers read where we know the format,
// Media Foundation's duration for anything else or anything they cannot settle.
#pragma once

#include "burner/core/playtime/LengthReaders.h"

#include <cstdint>

// Whole seconds of decoded audio in *seconds (0 on failure) and a result
// code: 0, or one of the play-time EngineError codes (101-107).
int32_t MeasurePlayTime(const wchar_t* path, int32_t* seconds);
