// A scripted engine for tests: a function table whose every call is recorded
// with its arguments and answered with a scripted result. It can raise the
// engine's events on the calling thread or on a thread of its own.
#pragma once

#include "engine/EngineBinding.h"

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class ScriptedEngine {
public:
    // Installs itself as the one scripted engine of the process.
    ScriptedEngine();
    ~ScriptedEngine();
    ScriptedEngine(const ScriptedEngine&) = delete;
    ScriptedEngine& operator=(const ScriptedEngine&) = delete;

    const EngineApi& Api() const { return m_api; }

    // --- Script ---
    // The next results of operation `name` (then 0 again).
    void QueueResults(const std::string& name, std::vector<int32_t> results);
    // Every call of `name` returns `result`.
    void SetResult(const std::string& name, int32_t result);
    // The record GetOptions hands out.
    BurnOptions options{};
    // Recorders GetDevices reports.
    std::vector<std::wstring> devices{L"Im Image Recorder"};
    // When set, the count GetDevices reports instead of the slots it filled
    // (an engine that misreports).
    std::optional<int32_t> reportedDeviceCount;
    // Seconds GetPlayTime reports per path (others: 0).
    std::map<std::wstring, int32_t> playTimes;
    // Text GetText writes per code (others: "Engine text for code N").
    std::map<int32_t, std::wstring> texts;
    // When set, GetText fills the whole buffer without a terminating zero.
    bool unterminatedText = false;
    // Run inside an operation, after recording it (to raise nested events).
    std::map<std::string, std::function<void()>> during;

    // --- What happened ---
    // One line per call, e.g. "Initialize(1)" or "AddFile(C:\\a.wav,\\,0,0,0)".
    std::vector<std::string> Calls() const;
    std::vector<std::string> CallsNamed(const std::string& name) const;
    void ClearCalls();
    std::vector<BurnOptions> SetOptionsRecords() const;
    std::vector<FileEntry> AddFileRecords() const; // paths copied into `addedPaths`
    std::vector<std::wstring> addedPaths;

    // --- Events, with the handlers and contexts the program installed ---
    void RaiseFinalize();
    void RaiseBurnDone(const char* errorText);
    void RaiseProcess(float percent, float bufferFill, double bytesWritten);
    void RaiseAudioDecoder(float percent);
    void RaiseAudioDecodeDone(const char* fileName, int32_t error);
    void* BurnDoneContext() const;

    static ScriptedEngine& Current();

    // Internals used by the exported functions.
    int32_t Record(const std::string& name, const std::string& arguments);
    void RunDuring(const std::string& name);
    void StoreOptions(const BurnOptions& record);
    void StoreFile(const FileEntry& entry);

    struct Handlers {
        FinalizeEventHandler finalize = nullptr;
        BurnDoneEventHandler burnDone = nullptr;
        ProcessEventHandler process = nullptr;
        AudioDecoderEventHandler audioDecoder = nullptr;
        AudioDecodeDoneEventHandler audioDecodeDone = nullptr;
        void* finalizeContext = nullptr;
        void* burnDoneContext = nullptr;
        void* processContext = nullptr;
        void* audioDecoderContext = nullptr;
        void* audioDecodeDoneContext = nullptr;
    } handlers;

private:
    EngineApi m_api;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
    std::map<std::string, std::deque<int32_t>> m_queued;
    std::map<std::string, int32_t> m_fixed;
    std::vector<BurnOptions> m_setOptions;
    std::vector<FileEntry> m_files;
};

// UTF-16 to UTF-8 for readable test output.
std::string Narrow(const std::wstring& text);
