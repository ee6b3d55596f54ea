#include "burner/core/playtime/PlayTimeErrors.h"

std::wstring PlayTimeErrorText(int32_t code) {
    switch (static_cast<PlayTimeError>(code)) {
    case PlayTimeError::CannotOpen:
        return L"The file could not be opened: it is missing, in use or not readable.";
    case PlayTimeError::EmptyFile:
        return L"The file is empty.";
    case PlayTimeError::NotAudio:
        return L"The file is not an audio file this program can read.";
    case PlayTimeError::Damaged:
        return L"The audio file is damaged or cut short, so its play time cannot be read.";
    case PlayTimeError::NoSound:
        return L"The audio file holds no sound.";
    case PlayTimeError::TooLong:
        return L"The audio file claims a play time far longer than it can hold.";
    case PlayTimeError::MediaUnavailable:
        return L"The system's media components could not be started to read the file.";
    }
    return L"The play time of the file could not be measured (code " + std::to_wstring(code) +
           L").";
}
