// The recorders the engine offers. The Image Recorder is always there; its
// display text starts with "Im", which no optical drive's text ("D: ...")
// can share, so its device value is unique.
#pragma once

#include "engine/EngineRecords.h"

#include <string>
#include <vector>

struct RecorderInfo {
    std::wstring text;
    bool isImageRecorder = false;
};

constexpr wchar_t kImageRecorderText[] = L"Image Recorder (BIN/CUE disc image)";

std::vector<RecorderInfo> ListRecorders();
