// Where the Image Recorder puts its images: the option record's folder when
// it names one, else %QUILLOTUNE_IMAGE_DIR%, else "Quillotune" in the user's
// Music folder (which is created when missing).
#pragma once

#include "engine/EngineRecords.h"

#include <cstdint>
#include <string>

struct ImageFolderChoice {
    std::wstring path; // without a trailing backslash
    bool createWhenMissing = false;
};

ImageFolderChoice ChooseImageFolder(const BurnOptions& options);

// 0 when the folder exists (or was created) and a file can be written in
// it; otherwise a code whose text names the folder. Leaves nothing behind.
int32_t PrepareImageFolder(const ImageFolderChoice& folder);
