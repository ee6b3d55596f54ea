#include "tests/support/ScriptedEngine.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

ScriptedEngine* g_current = nullptr;

std::string Text(const wchar_t* text) { return text == nullptr ? "(null)" : Narrow(text); }

int32_t ENGINE_CALL Initialize(int32_t one) {
    return ScriptedEngine::Current().Record("Initialize", std::to_string(one));
}
int32_t ENGINE_CALL CreateProject(int32_t zero) {
    return ScriptedEngine::Current().Record("CreateProject", std::to_string(zero));
}
int32_t ENGINE_CALL GetOptions(BurnOptions* options) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    // A caller must hand over the record in its not-defined state.
    BurnOptions notDefined;
    SetNotDefined(notDefined);
    bool fresh = std::memcmp(options, &notDefined, sizeof notDefined) == 0;
    int32_t result = engine.Record("GetOptions", fresh ? "not-defined" : "dirty");
    *options = engine.options;
    return result;
}
int32_t ENGINE_CALL SetOptions(BurnOptions options) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    engine.StoreOptions(options);
    char flags[64];
    std::snprintf(flags, sizeof flags, ",joliet=%d,finalize=%d,eject=%d", options.joliet,
                  options.finalize, options.ejectAfterBurn);
    std::string label(options.volumeLabel, strnlen(options.volumeLabel, 128));
    return engine.Record("SetOptions", "label=" + label + flags);
}
int32_t ENGINE_CALL GetDevices(DeviceEntry* slots, int32_t* count, int32_t one) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    int32_t result = engine.Record("GetDevices", std::to_string(*count) + "," +
                                                     std::to_string(one));
    int32_t filled = 0;
    for (const std::wstring& device : engine.devices) {
        if (filled == kDeviceSlots) break;
        std::memset(slots[filled].text, 0, sizeof slots[filled].text);
        std::wmemcpy(slots[filled].text, device.c_str(), std::min<size_t>(device.size(), 49));
        ++filled;
    }
    *count = engine.reportedDeviceCount.value_or(filled);
    return result;
}
int32_t ENGINE_CALL SetDevice(uint32_t device) {
    char value[16];
    std::snprintf(value, sizeof value, "0x%08X", device);
    return ScriptedEngine::Current().Record("SetDevice", value);
}
int32_t ENGINE_CALL AddFile(FileEntry entry) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    engine.StoreFile(entry);
    return engine.Record("AddFile", Text(entry.sourcePath) + "," + Text(entry.destinationFolder) +
                                        "," + std::to_string(entry.reserved8) + "," +
                                        std::to_string(entry.reserved12) + "," +
                                        std::to_string(entry.reserved16));
}
int32_t ENGINE_CALL Prepare() { return ScriptedEngine::Current().Record("Prepare", ""); }
int32_t ENGINE_CALL Burn() { return ScriptedEngine::Current().Record("Burn", ""); }
int32_t ENGINE_CALL Abort() { return ScriptedEngine::Current().Record("Abort", ""); }
int32_t ENGINE_CALL AudioFileStop() {
    return ScriptedEngine::Current().Record("AudioFileStop", "");
}
int32_t ENGINE_CALL BurnDialog(int32_t a, int32_t b, int32_t c, const wchar_t* caption,
                               const wchar_t* text) {
    return ScriptedEngine::Current().Record(
        "BurnDialog", std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) +
                          "," + Text(caption) + "," + Text(text));
}
int32_t ENGINE_CALL EraseDialog(const wchar_t* caption) {
    return ScriptedEngine::Current().Record("EraseDialog", Text(caption));
}
int32_t ENGINE_CALL PlayAudioFile(const wchar_t* path) {
    return ScriptedEngine::Current().Record("PlayAudioFile", Text(path));
}
int32_t ENGINE_CALL GetPlayTime(const wchar_t* path, int32_t* seconds) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    int32_t result = engine.Record("GetPlayTime", Text(path) + "," + std::to_string(*seconds));
    auto found = engine.playTimes.find(path);
    *seconds = found == engine.playTimes.end() ? 0 : found->second;
    return result;
}
int32_t ENGINE_CALL GetText(int32_t code, wchar_t* buffer, int32_t* capacity) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    int32_t result = engine.Record("GetText", std::to_string(code) + "," +
                                                  std::to_string(*capacity));
    if (engine.unterminatedText) {
        for (int32_t i = 0; i < *capacity; ++i) buffer[i] = L'x';
        return result;
    }
    auto found = engine.texts.find(code);
    std::wstring text = found != engine.texts.end()
                            ? found->second
                            : L"Engine text for code " + std::to_wstring(code);
    size_t length = std::min<size_t>(text.size(), static_cast<size_t>(*capacity) - 1);
    std::wmemcpy(buffer, text.c_str(), length);
    buffer[length] = L'\0';
    return result;
}

void ENGINE_CALL SetFinalize(FinalizeEventHandler handler, void* context) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    engine.handlers.finalize = handler;
    engine.handlers.finalizeContext = context;
    engine.Record("SetFinalizeEventCallback", "");
}
void ENGINE_CALL SetBurnDone(BurnDoneEventHandler handler, void* context) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    engine.handlers.burnDone = handler;
    engine.handlers.burnDoneContext = context;
    engine.Record("SetBurnDoneEventCallback", "");
}
void ENGINE_CALL SetProcess(ProcessEventHandler handler, void* context) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    engine.handlers.process = handler;
    engine.handlers.processContext = context;
    engine.Record("SetProcessEventCallback", "");
}
void ENGINE_CALL SetAudioDecoder(AudioDecoderEventHandler handler, void* context) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    engine.handlers.audioDecoder = handler;
    engine.handlers.audioDecoderContext = context;
    engine.Record("SetAudioDecoderEventCallback", "");
}
void ENGINE_CALL SetAudioDecodeDone(AudioDecodeDoneEventHandler handler, void* context) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    engine.handlers.audioDecodeDone = handler;
    engine.handlers.audioDecodeDoneContext = context;
    engine.Record("SetAudioDecodeDoneEventCallback", "");
}

} // namespace

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size, nullptr, nullptr);
    return result;
}

ScriptedEngine::ScriptedEngine() {
    g_current = this;
    std::memset(&options, 0, sizeof options);
    m_api.Initialize = ::Initialize;
    m_api.CreateProject = ::CreateProject;
    m_api.GetOptions = ::GetOptions;
    m_api.SetOptions = ::SetOptions;
    m_api.GetDevices = ::GetDevices;
    m_api.SetDevice = ::SetDevice;
    m_api.AddFile = ::AddFile;
    m_api.Prepare = ::Prepare;
    m_api.Burn = ::Burn;
    m_api.Abort = ::Abort;
    m_api.AudioFileStop = ::AudioFileStop;
    m_api.BurnDialog = ::BurnDialog;
    m_api.EraseDialog = ::EraseDialog;
    m_api.PlayAudioFile = ::PlayAudioFile;
    m_api.GetPlayTime = ::GetPlayTime;
    m_api.GetText = ::GetText;
    m_api.SetFinalizeEventCallback = SetFinalize;
    m_api.SetBurnDoneEventCallback = SetBurnDone;
    m_api.SetProcessEventCallback = SetProcess;
    m_api.SetAudioDecoderEventCallback = SetAudioDecoder;
    m_api.SetAudioDecodeDoneEventCallback = SetAudioDecodeDone;
}

ScriptedEngine::~ScriptedEngine() {
    if (g_current == this) g_current = nullptr;
}

ScriptedEngine& ScriptedEngine::Current() { return *g_current; }

void ScriptedEngine::QueueResults(const std::string& name, std::vector<int32_t> results) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int32_t result : results) m_queued[name].push_back(result);
}

void ScriptedEngine::SetResult(const std::string& name, int32_t result) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fixed[name] = result;
}

int32_t ScriptedEngine::Record(const std::string& name, const std::string& arguments) {
    int32_t result = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(name + "(" + arguments + ")");
        auto queued = m_queued.find(name);
        if (queued != m_queued.end() && !queued->second.empty()) {
            result = queued->second.front();
            queued->second.pop_front();
        } else if (auto fixed = m_fixed.find(name); fixed != m_fixed.end()) {
            result = fixed->second;
        }
    }
    RunDuring(name);
    return result;
}

void ScriptedEngine::RunDuring(const std::string& name) {
    auto found = during.find(name);
    if (found != during.end() && found->second) found->second();
}

void ScriptedEngine::StoreOptions(const BurnOptions& record) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_setOptions.push_back(record);
}

void ScriptedEngine::StoreFile(const FileEntry& entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_files.push_back(entry);
    addedPaths.emplace_back(entry.sourcePath ? entry.sourcePath : L"");
}

std::vector<std::string> ScriptedEngine::Calls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

std::vector<std::string> ScriptedEngine::CallsNamed(const std::string& name) const {
    std::vector<std::string> named;
    for (const std::string& call : Calls())
        if (call.compare(0, name.size() + 1, name + "(") == 0) named.push_back(call);
    return named;
}

void ScriptedEngine::ClearCalls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.clear();
}

std::vector<BurnOptions> ScriptedEngine::SetOptionsRecords() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_setOptions;
}

std::vector<FileEntry> ScriptedEngine::AddFileRecords() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_files;
}

void ScriptedEngine::RaiseFinalize() { handlers.finalize(handlers.finalizeContext); }
void ScriptedEngine::RaiseBurnDone(const char* errorText) {
    handlers.burnDone(errorText, handlers.burnDoneContext);
}
void ScriptedEngine::RaiseProcess(float percent, float bufferFill, double bytesWritten) {
    handlers.process(percent, 0, bufferFill, bytesWritten, 0, handlers.processContext);
}
void ScriptedEngine::RaiseAudioDecoder(float percent) {
    handlers.audioDecoder(percent, 0, handlers.audioDecoderContext);
}
void ScriptedEngine::RaiseAudioDecodeDone(const char* fileName, int32_t error) {
    handlers.audioDecodeDone(fileName, 0, error, handlers.audioDecodeDoneContext);
}
void* ScriptedEngine::BurnDoneContext() const { return handlers.burnDoneContext; }
