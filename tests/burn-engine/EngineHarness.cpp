#include "EngineHarness.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

namespace {

using Event = RecordedEvent;

std::mutex g_mutex; // guards g_events
std::vector<Event> g_events;

void ENGINE_CALL OnFinalize(void*) {
    RecordEvent({Event::Finalize});
}
void ENGINE_CALL OnBurnDone(const char* text, void*) {
    RecordEvent({Event::BurnDone, 0, 0, 0, text == nullptr, text ? text : ""});
}
void ENGINE_CALL OnProcess(float percent, uint32_t, float fill, double bytes, uint64_t, void*) {
    RecordEvent({Event::Process, percent, fill, bytes});
}
void ENGINE_CALL OnDecoder(float percent, uint64_t, void*) {
    RecordEvent({Event::Decoder, percent});
}
void ENGINE_CALL OnDecodeDone(const char* name, uint32_t, int32_t error, void*) {
    RecordEvent({Event::DecodeDone, 0, 0, 0, false, name ? name : "", error});
}

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[1024];
    DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

} // namespace

void RecordEvent(RecordedEvent event) {
    event.thread = GetCurrentThreadId();
    event.ms = GetTickCount64();
    std::lock_guard<std::mutex> lock(g_mutex);
    g_events.push_back(event);
}

ImportPatch::ImportPatch(HMODULE module, const char* function, const void* replacement, Need need) {
    if (module == nullptr && need == Optional) return;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name; ++dll) {
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slot = reinterpret_cast<const void**>(base + dll->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            m_slot = slot;
            m_original = *slot;
            Write(replacement);
            return;
        }
    }
    if (need == Required) ADD_FAILURE() << "the engine does not import " << function;
}

void ImportPatch::Write(const void* value) {
    DWORD old = 0;
    if (m_slot == nullptr || !VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &old)) return;
    *m_slot = value;
    VirtualProtect(m_slot, sizeof *m_slot, old, &old);
}

void BurnEngine::SetUp() {
    ClearEvents();
    ASSERT_TRUE(Api().IsComplete()) << Narrow(m_library.Missing());
    ASSERT_EQ(0, Api().Initialize(1));
    Api().SetFinalizeEventCallback(&OnFinalize, nullptr);
    Api().SetBurnDoneEventCallback(&OnBurnDone, nullptr);
    Api().SetProcessEventCallback(&OnProcess, nullptr);
    Api().SetAudioDecoderEventCallback(&OnDecoder, nullptr);
    Api().SetAudioDecodeDoneEventCallback(&OnDecodeDone, nullptr);
    ASSERT_EQ(0, Api().CreateProject(0));
}

void BurnEngine::TearDown() {
    // A run a failed test left behind must not go on into the next test.
    if (Api().Abort) Api().Abort();
}

void BurnEngine::SetImageOptions(const std::string& label, const std::wstring& folder, int eject) {
    BurnOptions options;
    SetNotDefined(options);
    std::memset(options.volumeLabel, 0, sizeof options.volumeLabel);
    label.copy(options.volumeLabel, sizeof options.volumeLabel - 1);
    std::memset(options.imageFolder, 0, sizeof options.imageFolder);
    folder.copy(options.imageFolder, 259);
    options.ejectAfterBurn = static_cast<uint8_t>(eject);
    ASSERT_EQ(0, Api().SetOptions(options));
}

void BurnEngine::Add(const std::wstring& path) {
    ASSERT_EQ(0, Api().AddFile(FileEntry{path.c_str(), L"\\"}));
}

std::string BurnEngine::BurnToTheEnd(bool prepare) {
    if (int32_t code = prepare ? Api().Prepare() : 0) return "Prepare: " + Narrow(TextOf(code));
    if (int32_t code = Api().Burn()) return "Burn: " + Narrow(TextOf(code));
    if (!WaitFor(Event::BurnDone)) return "no burn-done event";
    Event done = Events(Event::BurnDone).back();
    return done.nullText ? "" : "burn-done: " + done.text;
}

std::wstring BurnEngine::TextOf(int32_t code) {
    wchar_t buffer[kTextCapacity];
    int32_t capacity = kTextCapacity;
    Api().GetText(code, buffer, &capacity);
    return buffer;
}

std::vector<RecordedEvent> BurnEngine::Events(int kind) {
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<Event> found;
    for (const Event& event : g_events)
        if (kind < 0 || event.kind == kind) found.push_back(event);
    return found;
}

bool BurnEngine::WaitFor(RecordedEvent::Kind kind, int seconds) {
    for (ULONGLONG end = GetTickCount64() + seconds * 1000; GetTickCount64() < end; Sleep(20))
        if (!Events(kind).empty()) return true;
    return !Events(kind).empty();
}

void BurnEngine::ClearEvents() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_events.clear();
}

std::wstring Media(const std::wstring& name) {
    return Environment(L"QUILLOTUNE_BURN_MEDIA") + L"\\" + name;
}

std::wstring FreshFolder(const std::wstring& name) {
    std::wstring folder = Environment(L"QUILLOTUNE_BURN_IMAGES") + L"\\" + name;
    CreateDirectoryW(Environment(L"QUILLOTUNE_BURN_IMAGES").c_str(), nullptr);
    for (const std::wstring& file : FilesIn(folder))
        DeleteFileW((folder + L"\\" + file).c_str());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadAll(const std::wstring& path) {
    std::stringstream text;
    text << std::ifstream(path.c_str(), std::ios::binary).rdbuf();
    return text.str();
}

std::string Narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], size, nullptr, nullptr);
    return result;
}
