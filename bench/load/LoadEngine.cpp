// A stand-in for the burner engine that floods the program with events. Each
// Burn raises progress (every tenth event a decoder one) at a steady rate,
// QUILLOTUNE_LOAD_RATE a second (1,000 unless set), for QUILLOTUNE_LOAD_RUN_MS
// (5,000 unless set), then the finalize and burn-done events. Abort stops
// the flood at once and never waits for it. Each run appends "<events>
// <milliseconds> stopped|finished" to the file QUILLOTUNE_LOAD_LOG names.
// Every other export succeeds; every file plays a minute.
#include "engine/EngineRecords.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <mutex>

namespace {

struct Handlers {
    FinalizeEventHandler finalize = nullptr;
    BurnDoneEventHandler burnDone = nullptr;
    ProcessEventHandler process = nullptr;
    AudioDecoderEventHandler decoder = nullptr;
    void* context[4] = {}; // finalize, burn-done, process, decoder
};

using StopFlag = std::shared_ptr<std::atomic<bool>>;

std::mutex g_mutex; // guards g_handlers and g_stop, never held while an event is raised
Handlers g_handlers;
StopFlag g_stop;

long long Setting(const char* name, long long otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoll(value) : otherwise;
}

void Log(long long events, unsigned long long ms, bool stopped) {
    static std::mutex mutex; // a stopped run may still be writing as the next ends
    std::lock_guard<std::mutex> lock(mutex);
    const char* path = std::getenv("QUILLOTUNE_LOAD_LOG");
    if (FILE* log = path ? std::fopen(path, "ab") : nullptr) {
        std::fprintf(log, "%lld %llu %s\n", events, ms, stopped ? "stopped" : "finished");
        std::fclose(log);
    }
}

DWORD WINAPI Flood(void* parameter) {
    StopFlag stop = std::move(*static_cast<StopFlag*>(parameter));
    delete static_cast<StopFlag*>(parameter);
    Handlers h;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        h = g_handlers;
    }
    const long long rate = Setting("QUILLOTUNE_LOAD_RATE", 1000);
    const unsigned long long runMs = Setting("QUILLOTUNE_LOAD_RUN_MS", 5000);
    const ULONGLONG start = GetTickCount64();
    long long raised = 0;
    unsigned long long elapsed = 0;
    while (!*stop && (elapsed = GetTickCount64() - start) < runMs) {
        if (raised >= static_cast<long long>(elapsed) * rate / 1000) {
            Sleep(1); // ahead of the rate
            continue;
        }
        float percent = 100.0f * static_cast<float>(elapsed) / static_cast<float>(runMs);
        if (raised % 10 == 9 && h.decoder)
            h.decoder(percent, 1, h.context[3]);
        else if (h.process)
            h.process(percent, 1, 50.0f, static_cast<double>(raised) * 2352.0, 0, h.context[2]);
        ++raised;
    }
    bool stopped = *stop;
    if (!stopped && h.finalize) h.finalize(h.context[0]);
    if (!stopped && !*stop && h.burnDone) h.burnDone(nullptr, h.context[1]);
    Log(raised, GetTickCount64() - start, stopped);
    return 0;
}

} // namespace

extern "C" {

int32_t ENGINE_CALL Initialize(int32_t) {
    return 0;
}
int32_t ENGINE_CALL CreateProject(int32_t) {
    return 0;
}
int32_t ENGINE_CALL GetOptions(BurnOptions*) {
    return 0;
}
int32_t ENGINE_CALL SetOptions(BurnOptions) {
    return 0;
}
int32_t ENGINE_CALL SetDevice(uint32_t) {
    return 0;
}
int32_t ENGINE_CALL AddFile(FileEntry) {
    return 0;
}
int32_t ENGINE_CALL Prepare() {
    return 0;
}
int32_t ENGINE_CALL AudioFileStop() {
    return 0;
}
int32_t ENGINE_CALL BurnDialog(int32_t, int32_t, int32_t, const wchar_t*, const wchar_t*) {
    return 0;
}
int32_t ENGINE_CALL EraseDialog(const wchar_t*) {
    return 0;
}
int32_t ENGINE_CALL PlayAudioFile(const wchar_t*) {
    return 0;
}

int32_t ENGINE_CALL GetDevices(DeviceEntry* slots, int32_t* count, int32_t) {
    std::wcscpy(slots[0].text, L"Im Image Recorder");
    *count = 1;
    return 0;
}

int32_t ENGINE_CALL GetPlayTime(const wchar_t*, int32_t* seconds) {
    *seconds = 60;
    return 0;
}

int32_t ENGINE_CALL GetText(int32_t code, wchar_t* buffer, int32_t* capacity) {
    std::swprintf(buffer, static_cast<size_t>(*capacity), L"Load engine: code %d", code);
    return 0;
}

int32_t ENGINE_CALL Burn() {
    auto* stop = new StopFlag(std::make_shared<std::atomic<bool>>(false));
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_stop = *stop;
    }
    HANDLE thread = CreateThread(nullptr, 0, &Flood, stop, 0, nullptr);
    if (thread == nullptr) {
        delete stop;
        return 6;
    }
    CloseHandle(thread); // the flood ends by itself
    return 0;
}

int32_t ENGINE_CALL Abort() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_stop) *g_stop = true;
    return 0;
}

void ENGINE_CALL SetFinalizeEventCallback(FinalizeEventHandler handler, void* context) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handlers.finalize = handler;
    g_handlers.context[0] = context;
}
void ENGINE_CALL SetBurnDoneEventCallback(BurnDoneEventHandler handler, void* context) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handlers.burnDone = handler;
    g_handlers.context[1] = context;
}
void ENGINE_CALL SetProcessEventCallback(ProcessEventHandler handler, void* context) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handlers.process = handler;
    g_handlers.context[2] = context;
}
void ENGINE_CALL SetAudioDecoderEventCallback(AudioDecoderEventHandler handler, void* context) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_handlers.decoder = handler;
    g_handlers.context[3] = context;
}
void ENGINE_CALL SetAudioDecodeDoneEventCallback(AudioDecodeDoneEventHandler, void*) {}

} // extern "C"
