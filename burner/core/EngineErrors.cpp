#include "burner/core/EngineErrors.h"

#include <map>
#include <mutex>

namespace {

struct ErrorEntry {
    EngineError error;
    const wchar_t* sentence;
    const wchar_t* filePart; // after "The file "<path>"", or null
};

// clang-format off
constexpr ErrorEntry kErrors[] = {
    {EngineError::Ok, L"The operation completed successfully.", nullptr},
    {EngineError::NotInitialized, L"The burner engine has not been started.", nullptr},
    {EngineError::NotAvailableYet, L"This operation is not available yet in this version of the burner engine.", nullptr},
    {EngineError::InvalidArgument, L"The burner engine was given a value it cannot use.", nullptr},
    {EngineError::NoSuchDevice, L"The chosen recorder is not available.", nullptr},
    {EngineError::NoProject, L"There is no project to add tracks to.", nullptr},
    {EngineError::Busy, L"The recorder is busy with another run.", nullptr},
    {EngineError::Internal, L"The burner engine ran into an unexpected problem.", nullptr},

    {EngineError::CannotOpen, L"The file could not be opened: it is missing, in use or not readable.", L" cannot be opened."},
    {EngineError::EmptyFile, L"The file is empty.", L" is empty."},
    {EngineError::NotAudio, L"The file is not an audio file this program can read.", L" is not audio that this computer can decode."},
    {EngineError::Damaged, L"The audio file is damaged or cut short, so its play time cannot be read.", L" is damaged or cut short."},
    {EngineError::NoSound, L"The audio file holds no sound.", L" holds no audio."},
    {EngineError::TooLong, L"The audio file claims a play time far longer than it can hold.", L" claims a play time far longer than it can hold."},
    {EngineError::MediaUnavailable, L"The system's media components could not be started to read the file.", nullptr},

    {EngineError::NoTracks, L"There is nothing to burn: add at least one audio file.", nullptr},
    {EngineError::TooManyTracks, L"An audio disc holds at most 99 tracks.", nullptr},
    {EngineError::FileMissing, L"An audio file of the list cannot be opened.", L" cannot be opened."},
    {EngineError::FileNotAudio, L"An audio file of the list cannot be decoded.", L" is not audio that this computer can decode."},
    {EngineError::DiscTooSmall, L"The tracks do not fit on an 80-minute disc.", nullptr},
    {EngineError::FolderMissing, L"The folder for disc images does not exist.", nullptr},
    {EngineError::FolderNotWritable, L"The folder for disc images cannot be written to.", nullptr},
    {EngineError::NotPrepared, L"The burn was started without preparing the tracks first.", nullptr},
    {EngineError::RunUnderWay, L"A burn is already under way; stop it or wait for its end.", nullptr},
    {EngineError::DecoderUnavailable, L"The system's audio decoders could not be started.", nullptr},
    {EngineError::ImageNotCreated, L"The disc image could not be created.", nullptr},

    {EngineError::BurnFailed, L"The burn did not complete.", nullptr},
    {EngineError::BurnCancelled, L"The burn was cancelled before it was complete; no disc image was written.", nullptr},
    {EngineError::DialogNotShown, L"The burner engine's window could not be shown.", nullptr},
};
// clang-format on

const ErrorEntry* Find(int32_t code) {
    for (const ErrorEntry& entry : kErrors)
        if (ToCode(entry.error) == code) return &entry;
    return nullptr;
}

std::mutex g_recordedMutex; // guards g_recorded only
std::map<int32_t, std::wstring> g_recorded;

} // namespace

int32_t FailWith(EngineError error, const std::wstring& sentence) {
    std::lock_guard<std::mutex> lock(g_recordedMutex);
    g_recorded[ToCode(error)] = sentence;
    return ToCode(error);
}

int32_t FailWith(EngineError error) {
    return FailWith(error, ErrorSentence(error));
}

std::wstring ErrorSentence(EngineError error) {
    return Find(ToCode(error))->sentence;
}

std::wstring EngineErrorText(int32_t code) {
    {
        std::lock_guard<std::mutex> lock(g_recordedMutex);
        auto found = g_recorded.find(code);
        if (found != g_recorded.end()) return found->second;
    }
    if (const ErrorEntry* entry = Find(code)) return entry->sentence;
    return L"The burner engine reported an unknown problem (code " + std::to_wstring(code) + L").";
}

std::wstring FileErrorText(EngineError error, const std::wstring& path) {
    const ErrorEntry* entry = Find(ToCode(error));
    if (entry->filePart == nullptr) return entry->sentence;
    return L"The file \"" + path + L"\"" + entry->filePart;
}
