// The engine's state: initialisation, options, the chosen recorder, the
// project and the event handlers. One instance per process.
#pragma once

#include "engine/EngineRecords.h"

#include <mutex>
#include <string>
#include <vector>

struct EventHandlers {
    FinalizeEventHandler finalize = nullptr;
    void* finalizeContext = nullptr;
    BurnDoneEventHandler burnDone = nullptr;
    void* burnDoneContext = nullptr;
    ProcessEventHandler process = nullptr;
    void* processContext = nullptr;
    AudioDecoderEventHandler audioDecoder = nullptr;
    void* audioDecoderContext = nullptr;
    AudioDecodeDoneEventHandler audioDecodeDone = nullptr;
    void* audioDecodeDoneContext = nullptr;
};

struct ProjectTrack {
    std::wstring sourcePath;
};

class EngineState {
public:
    static EngineState& Instance();

    int32_t Initialize();
    int32_t CreateProject();
    int32_t GetOptions(BurnOptions& options);
    int32_t SetOptions(const BurnOptions& options);
    int32_t GetDevices(DeviceEntry* slots, int32_t* count);
    int32_t SetDevice(uint32_t device);
    int32_t AddFile(const FileEntry& entry);

    EventHandlers Handlers();
    template <class Change> void ChangeHandlers(Change change) {
        std::lock_guard<std::mutex> lock(m_mutex); // guards the handler table only
        change(m_handlers);
    }

    // Snapshot accessors for the burn run.
    BurnOptions Options();
    uint32_t Device();
    std::vector<ProjectTrack> TakeTracks();
    std::vector<ProjectTrack> Tracks(); // a copy; the project keeps them
    bool IsInitialized();

private:
    EngineState();
    std::mutex m_mutex;
    bool m_initialized = false;
    bool m_projectCreated = false;
    BurnOptions m_options{};
    uint32_t m_device = 0;
    std::vector<ProjectTrack> m_tracks;
    EventHandlers m_handlers;
};
