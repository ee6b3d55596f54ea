#include "burner/playtime/PlayTime.h"

#include "burner/core/EngineErrors.h"
#include "burner/core/playtime/LengthReaders.h"
#include "burner/core/playtime/PlayTimeErrors.h"
#include "burner/playtime/FileSource.h"
#include "burner/playtime/MediaFoundationLength.h"

namespace {

constexpr uint64_t kHundredNsPerSecond = 10000000;

int32_t Fail(PlayTimeError error) {
    return ToCode(error);
}

} // namespace

int32_t MeasurePlayTime(const wchar_t* path, int32_t* seconds) {
    if (seconds == nullptr) return ToCode(EngineError::InvalidArgument);
    *seconds = 0;
    if (path == nullptr || *path == L'\0') return Fail(PlayTimeError::CannotOpen);

    LengthStatus status;
    uint64_t fileSize;
    {
        FileSource file;
        if (!file.Open(path)) return Fail(PlayTimeError::CannotOpen);
        fileSize = file.Size();
        if (fileSize == 0) return Fail(PlayTimeError::EmptyFile);
        AudioLength length = MeasureLength(file);
        if (length.IsSettled()) return WholeSeconds(length.frames, length.rate, fileSize, seconds);
        status = length.status;
    } // closed before Media Foundation opens the file on its own
    if (status == LengthStatus::NotThisFormat) return Fail(PlayTimeError::NotAudio);
    // A reader that knows the format and finds it broken has the last word:
    // the platform would fail on it too, or worse, never answer.
    if (status == LengthStatus::Damaged) return Fail(PlayTimeError::Damaged);

    MediaFoundationLength fallback = MeasureWithMediaFoundation(path);
    switch (fallback.outcome) {
    case MediaFoundationOutcome::Measured:
        return WholeSeconds(fallback.duration, kHundredNsPerSecond, fileSize, seconds);
    case MediaFoundationOutcome::Unavailable:
        return Fail(PlayTimeError::MediaUnavailable);
    case MediaFoundationOutcome::TimedOut:
        return Fail(PlayTimeError::Damaged);
    case MediaFoundationOutcome::NotReadable:
        break;
    }
    return Fail(PlayTimeError::NotAudio);
}
