#include "burner/core/BurnErrors.h"

#include "burner/core/EngineErrors.h"

namespace {

std::wstring GeneralText(BurnError error) {
    switch (error) {
    case BurnError::NoTracks:
        return L"There is nothing to burn: add at least one audio file.";
    case BurnError::TooManyTracks:
        return L"An audio disc holds at most 99 tracks.";
    case BurnError::FileMissing:
        return L"An audio file of the list cannot be opened.";
    case BurnError::FileNotAudio:
        return L"An audio file of the list cannot be decoded.";
    case BurnError::DiscTooSmall:
        return L"The tracks do not fit on an 80-minute disc.";
    case BurnError::FolderMissing:
        return L"The folder for disc images does not exist.";
    case BurnError::FolderNotWritable:
        return L"The folder for disc images cannot be written to.";
    case BurnError::NotPrepared:
        return L"The burn was started without preparing the tracks first.";
    case BurnError::RunUnderWay:
        return L"A burn is already under way; stop it or wait for its end.";
    case BurnError::DecoderUnavailable:
        return L"The system's audio decoders could not be started.";
    case BurnError::ImageNotCreated:
        return L"The disc image could not be created.";
    }
    return L"The burn failed for an unknown reason.";
}

} // namespace

int32_t FailWith(BurnError error, const std::wstring& sentence) {
    return RecordErrorText(ToCode(error), sentence);
}

std::wstring BurnErrorText(int32_t code) {
    if (code < ToCode(BurnError::NoTracks) || code > ToCode(BurnError::ImageNotCreated))
        return L"The burner reported an unknown problem (code " + std::to_wstring(code) + L").";
    return GeneralText(static_cast<BurnError>(code));
}
