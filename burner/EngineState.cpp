#include "burner/EngineState.h"

#include "burner/core/EngineErrors.h"
#include "burner/Recorders.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <utility>

namespace {

void CopyText(wchar_t* target, size_t capacity, const std::wstring& text) {
    size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::wmemcpy(target, text.data(), length);
    target[length] = L'\0';
}

} // namespace

EngineState& EngineState::Instance() {
    static EngineState state;
    return state;
}

EngineState::EngineState() {
    std::memset(&m_options, 0, sizeof m_options);
    std::strcpy(m_options.volumeLabel, "AUDIO CD");
    m_options.finalize = 1; // an audio disc is closed so that every player reads it
}

int32_t EngineState::Initialize() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_initialized = true;
    if (m_device == 0) m_device = DeviceValueOf(kImageRecorderText);
    return ToCode(EngineError::Ok);
}

bool EngineState::IsInitialized() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_initialized;
}

int32_t EngineState::CreateProject() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_initialized) return ToCode(EngineError::NotInitialized);
    m_projectCreated = true;
    m_tracks.clear();
    return ToCode(EngineError::Ok);
}

int32_t EngineState::GetOptions(BurnOptions& options) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_initialized) return ToCode(EngineError::NotInitialized);
    options = m_options;
    return ToCode(EngineError::Ok);
}

int32_t EngineState::SetOptions(const BurnOptions& options) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_initialized) return ToCode(EngineError::NotInitialized);
    // A field in the not-defined state keeps the engine's value. Texts are
    // copied only up to their field's end, so an unterminated text is cut.
    if (std::memchr(options.volumeLabel, 0, sizeof options.volumeLabel) == nullptr ||
        !IsNotDefined(options.volumeLabel)) {
        std::memcpy(m_options.volumeLabel, options.volumeLabel, sizeof options.volumeLabel);
        m_options.volumeLabel[sizeof m_options.volumeLabel - 1] = '\0';
    }
    if (options.reserved128 != -1) m_options.reserved128 = options.reserved128;
    if (options.joliet != 0xFF) m_options.joliet = options.joliet;
    if (options.reserved133 != 0xFF) m_options.reserved133 = options.reserved133;
    if (std::wmemchr(options.imageFolder, 0, 260) == nullptr ||
        !IsNotDefined(options.imageFolder)) {
        std::memcpy(m_options.imageFolder, options.imageFolder, sizeof options.imageFolder);
        m_options.imageFolder[259] = L'\0';
    }
    if (options.finalize != 0xFF) m_options.finalize = options.finalize;
    for (int i = 0; i < 3; ++i)
        if (options.reserved655[i] != 0xFF) m_options.reserved655[i] = options.reserved655[i];
    if (options.reserved660 != -1) m_options.reserved660 = options.reserved660;
    if (options.reserved664 != 0xFF) m_options.reserved664 = options.reserved664;
    if (options.ejectAfterBurn != 0xFF) m_options.ejectAfterBurn = options.ejectAfterBurn;
    if (options.reserved668 != -1) m_options.reserved668 = options.reserved668;
    return ToCode(EngineError::Ok);
}

int32_t EngineState::GetDevices(DeviceEntry* slots, int32_t* count) {
    if (slots == nullptr || count == nullptr) return ToCode(EngineError::InvalidArgument);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_initialized) return ToCode(EngineError::NotInitialized);
    std::vector<RecorderInfo> recorders = ListRecorders();
    int32_t filled = 0;
    for (const RecorderInfo& recorder : recorders) {
        if (filled == kDeviceSlots) break;
        CopyText(slots[filled].text, std::size(slots[filled].text), recorder.text);
        ++filled;
    }
    *count = filled;
    return ToCode(EngineError::Ok);
}

int32_t EngineState::SetDevice(uint32_t device) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_initialized) return ToCode(EngineError::NotInitialized);
    for (const RecorderInfo& recorder : ListRecorders()) {
        if (DeviceValueOf(recorder.text.c_str()) == device) {
            m_device = device;
            return ToCode(EngineError::Ok);
        }
    }
    return ToCode(EngineError::NoSuchDevice);
}

int32_t EngineState::AddFile(const FileEntry& entry) {
    if (entry.sourcePath == nullptr || entry.sourcePath[0] == L'\0')
        return ToCode(EngineError::InvalidArgument);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_initialized) return ToCode(EngineError::NotInitialized);
    if (!m_projectCreated) return ToCode(EngineError::NoProject);
    m_tracks.push_back(ProjectTrack{entry.sourcePath});
    return ToCode(EngineError::Ok);
}

EventHandlers EngineState::Handlers() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handlers;
}

BurnOptions EngineState::Options() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_options;
}

uint32_t EngineState::Device() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_device;
}

std::vector<ProjectTrack> EngineState::Tracks() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tracks;
}

std::vector<ProjectTrack> EngineState::TakeTracks() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_tracks, {});
}
