// A function table whose every call is recorded with its arguments and gets a
// scripted result; events go to the installed handlers on the raising thread.
#pragma once

#include "engine/EngineBinding.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using Calls = std::vector<std::string>;

class ScriptedEngine {
public:
    // Installs itself as the one scripted engine of the process.
    ScriptedEngine();
    ~ScriptedEngine() { s_current = nullptr; }
    ScriptedEngine(const ScriptedEngine&) = delete;
    ScriptedEngine& operator=(const ScriptedEngine&) = delete;
    static ScriptedEngine& Current() { return *s_current; }

    // The table the dialog is given; a test may empty an entry.
    EngineApi api;

    // --- Script ---
    std::map<std::string, std::deque<int32_t>> results; // the next results of each call, then 0
    BurnOptions options{};                              // what GetOptions hands out
    std::vector<std::wstring> devices{L"Im Image Recorder"}; // what GetDevices lists
    std::optional<int32_t> reportedDeviceCount;              // a count that misreports them
    std::map<std::wstring, int32_t> playTimes;               // GetPlayTime's seconds, others 0
    bool unterminatedText = false; // GetText's "Engine text for code N" fills the buffer, no zero
    // Run inside an operation, after recording it (to raise nested events).
    std::map<std::string, std::function<void()>> during;

    // --- What happened, all on the dialog's thread ---
    // One line per call, e.g. "Initialize(1)" or "AddFile(C:\\a.wav,\\,0,0,0)".
    std::vector<std::string> calls;
    std::vector<std::string> CallsNamed(const std::string& name) const;
    std::vector<BurnOptions> sentOptions; // every record SetOptions was given
    int32_t Record(const std::string& name, const std::string& arguments);

    // --- Events, through the handlers and contexts the program installed ---
    template <typename Handler> using Installed = std::pair<Handler, void*>;
    std::tuple<Installed<FinalizeEventHandler>, Installed<BurnDoneEventHandler>,
               Installed<ProcessEventHandler>, Installed<AudioDecoderEventHandler>,
               Installed<AudioDecodeDoneEventHandler>>
        handlers;
    template <size_t Event, typename... Args> void Raise(Args... args) {
        auto [handler, context] = std::get<Event>(handlers);
        handler(args..., context);
    }
    void RaiseFinalize() { Raise<0>(); }
    void RaiseBurnDone(const char* errorText) { Raise<1>(errorText); }
    void RaiseProcess(float percent, float buffer, double bytes) {
        Raise<2>(percent, 0u, buffer, bytes, 0ull);
    }
    void RaiseAudioDecoder(float percent) { Raise<3>(percent, 0ull); }
    void RaiseAudioDecodeDone(const char* file, int32_t error) { Raise<4>(file, 0u, error); }

private:
    static inline ScriptedEngine* s_current = nullptr;
};

// Wide text as bytes, for readable test output (exact for code page 1252).
inline std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
