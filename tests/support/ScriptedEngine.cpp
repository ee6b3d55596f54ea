#include "tests/support/ScriptedEngine.h"

#include <cstring>
#include <cwchar>

namespace {

std::string Arg(const wchar_t* text) {
    return text == nullptr ? "(null)" : Narrow(text);
}
// Device values read best in hex: "0x006D0049" is "Im".
std::string Arg(uint32_t device) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", device);
    return text;
}
template <typename T> std::string Arg(T value) {
    return std::to_string(value);
}

// The arguments as one text: "1,C:\\a.wav,0".
template <typename... T> std::string Args(T... values) {
    std::string joined;
    std::string comma;
    ((joined += comma + Arg(values), comma = ","), ...);
    return joined;
}

// An export that records its name and arguments and returns the scripted result.
#define RECORDED(Name, Parameters, Arguments)                                                      \
    int32_t ENGINE_CALL Name Parameters {                                                          \
        return ScriptedEngine::Current().Record(#Name, Args Arguments);                            \
    }
RECORDED(Initialize, (int32_t one), (one))
RECORDED(CreateProject, (int32_t zero), (zero))
RECORDED(SetDevice, (uint32_t device), (device))
RECORDED(AddFile, (FileEntry e),
         (e.sourcePath, e.destinationFolder, e.reserved8, e.reserved12, e.reserved16))
RECORDED(Prepare, (), ())
RECORDED(Burn, (), ())
RECORDED(Abort, (), ())
RECORDED(AudioFileStop, (), ())
RECORDED(BurnDialog, (int32_t a, int32_t b, int32_t c, const wchar_t* caption, const wchar_t* text),
         (a, b, c, caption, text))
RECORDED(EraseDialog, (const wchar_t* caption), (caption))
RECORDED(PlayAudioFile, (const wchar_t* path), (path))

// A handler setter: keeps the handler and its context for Raise.
#define SETTER(Event)                                                                              \
    void ENGINE_CALL Set##Event##EventCallback(Event##EventHandler handler, void* context) {       \
        ScriptedEngine& engine = ScriptedEngine::Current();                                        \
        std::get<ScriptedEngine::Installed<Event##EventHandler>>(engine.handlers) = {handler,      \
                                                                                     context};     \
        engine.Record("Set" #Event "EventCallback", "");                                           \
    }
SETTER(Finalize)
SETTER(BurnDone)
SETTER(Process)
SETTER(AudioDecoder)
SETTER(AudioDecodeDone)

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
    engine.sentOptions.push_back(options);
    std::string label(options.volumeLabel, strnlen(options.volumeLabel, 128));
    return engine.Record("SetOptions", "label=" + label + ",joliet=" + Arg(options.joliet) +
                                           ",finalize=" + Arg(options.finalize) +
                                           ",eject=" + Arg(options.ejectAfterBurn));
}
int32_t ENGINE_CALL GetDevices(DeviceEntry* slots, int32_t* count, int32_t one) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    int32_t result = engine.Record("GetDevices", Args(*count, one));
    int32_t filled = 0;
    for (; filled < kDeviceSlots && filled < static_cast<int32_t>(engine.devices.size()); ++filled)
        wcsncpy(slots[filled].text, engine.devices[filled].c_str(), 49);
    *count = engine.reportedDeviceCount.value_or(filled);
    return result;
}
int32_t ENGINE_CALL GetPlayTime(const wchar_t* path, int32_t* seconds) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    int32_t result = engine.Record("GetPlayTime", Args(path, *seconds));
    *seconds = engine.playTimes.count(path) != 0 ? engine.playTimes[path] : 0;
    return result;
}
int32_t ENGINE_CALL GetText(int32_t code, wchar_t* buffer, int32_t* capacity) {
    ScriptedEngine& engine = ScriptedEngine::Current();
    int32_t result = engine.Record("GetText", Args(code, *capacity));
    std::wstring text = L"Engine text for code " + std::to_wstring(code);
    if (engine.unterminatedText) text.assign(static_cast<size_t>(*capacity), L'x');
    // Without room for a zero, none is written.
    std::wmemcpy(buffer, text.c_str(), std::min<size_t>(text.size() + 1, *capacity));
    return result;
}

} // namespace

ScriptedEngine::ScriptedEngine() {
#define SCRIPTED_EXPORT(Name, Result, Parameters) api.Name = &Name;
    ENGINE_EXPORTS(SCRIPTED_EXPORT)
#undef SCRIPTED_EXPORT
    s_current = this;
}

int32_t ScriptedEngine::Record(const std::string& name, const std::string& arguments) {
    calls.push_back(name + "(" + arguments + ")");
    int32_t result = 0;
    if (!results[name].empty()) {
        result = results[name].front();
        results[name].pop_front();
    }
    if (during.count(name) != 0) during[name]();
    return result;
}

std::vector<std::string> ScriptedEngine::CallsNamed(const std::string& name) const {
    std::vector<std::string> named;
    for (const std::string& call : calls)
        if (call.compare(0, name.size() + 1, name + "(") == 0) named.push_back(call);
    return named;
}
