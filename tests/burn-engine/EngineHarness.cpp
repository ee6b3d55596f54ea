#include "EngineHarness.h"

#include <windows.h>

#include <chrono>
#include <cstring>

EventLog::EventLog() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    m_start = now.QuadPart;
    m_frequency = frequency.QuadPart;
}

void EventLog::Install(const EngineApi& api) {
    api.SetFinalizeEventCallback(&OnFinalize, this);
    api.SetBurnDoneEventCallback(&OnBurnDone, this);
    api.SetProcessEventCallback(&OnProcess, this);
    api.SetAudioDecoderEventCallback(&OnDecoder, this);
    api.SetAudioDecodeDoneEventCallback(&OnDecodeDone, this);
}

void EventLog::Add(RecordedEvent event) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    event.seconds = static_cast<double>(now.QuadPart - m_start) / static_cast<double>(m_frequency);
    event.thread = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back(event);
    m_changed.notify_all();
}

std::vector<RecordedEvent> EventLog::Events() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
}

size_t EventLog::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events.size();
}

void EventLog::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.clear();
}

bool EventLog::WaitForBurnDone(int seconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(seconds), [&] {
        for (const RecordedEvent& event : m_events)
            if (event.kind == RecordedEvent::BurnDone) return true;
        return false;
    });
}

bool EventLog::WaitForProcess(int seconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(seconds), [&] {
        for (const RecordedEvent& event : m_events)
            if (event.kind == RecordedEvent::Process) return true;
        return false;
    });
}

void ENGINE_CALL EventLog::OnFinalize(void* context) {
    static_cast<EventLog*>(context)->Add(RecordedEvent{RecordedEvent::Finalize});
}

void ENGINE_CALL EventLog::OnBurnDone(const char* text, void* context) {
    RecordedEvent event{RecordedEvent::BurnDone};
    event.nullText = text == nullptr;
    if (text != nullptr) event.text = text;
    static_cast<EventLog*>(context)->Add(event);
}

void ENGINE_CALL EventLog::OnProcess(float percent, uint32_t, float fill, double bytes, uint64_t,
                                     void* context) {
    RecordedEvent event{RecordedEvent::Process};
    event.percent = percent;
    event.bufferFill = fill;
    event.bytesWritten = bytes;
    static_cast<EventLog*>(context)->Add(event);
}

void ENGINE_CALL EventLog::OnDecoder(float percent, uint64_t, void* context) {
    RecordedEvent event{RecordedEvent::Decoder};
    event.percent = percent;
    static_cast<EventLog*>(context)->Add(event);
}

void ENGINE_CALL EventLog::OnDecodeDone(const char* name, uint32_t, int32_t error, void* context) {
    RecordedEvent event{RecordedEvent::DecodeDone};
    if (name != nullptr) event.text = name;
    event.error = error;
    static_cast<EventLog*>(context)->Add(event);
}

void BurnEngine::SetUp() {
    ASSERT_TRUE(m_library.Load(ProgramFolder() + L"DodIvadorO.dll"));
    ASSERT_EQ(0, Api().Initialize(1));
    m_log.Install(Api());
    ASSERT_EQ(0, Api().CreateProject(0));
}

void BurnEngine::TearDown() {
    // A run a failed test left behind must not call into a log that is gone.
    if (Api().Abort) Api().Abort();
}

void BurnEngine::SetImageOptions(const std::string& label, const std::wstring& folder) {
    BurnOptions options;
    SetNotDefined(options);
    ASSERT_EQ(0, Api().GetOptions(&options));
    std::memset(options.volumeLabel, 0, sizeof options.volumeLabel);
    std::strncpy(options.volumeLabel, label.c_str(), sizeof options.volumeLabel - 1);
    std::memset(options.imageFolder, 0, sizeof options.imageFolder);
    folder.copy(options.imageFolder, 259);
    options.ejectAfterBurn = 0;
    ASSERT_EQ(0, Api().SetOptions(options));
}

void BurnEngine::Add(const std::wstring& path) {
    FileEntry entry{};
    entry.sourcePath = path.c_str();
    entry.destinationFolder = L"\\";
    ASSERT_EQ(0, Api().AddFile(entry));
}

std::wstring BurnEngine::TextOf(int32_t code) {
    wchar_t buffer[kTextCapacity];
    int32_t capacity = kTextCapacity;
    Api().GetText(code, buffer, &capacity);
    return buffer;
}

std::wstring BurnEngine::Environment(const wchar_t* name) {
    wchar_t buffer[1024];
    DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

std::wstring BurnEngine::Media(const std::wstring& name) {
    return Environment(L"QUILLOTUNE_BURN_MEDIA") + L"\\" + name;
}

std::wstring BurnEngine::FreshFolder(const std::wstring& name) {
    std::wstring folder = Environment(L"QUILLOTUNE_BURN_IMAGES") + L"\\" + name;
    CreateDirectoryW(Environment(L"QUILLOTUNE_BURN_IMAGES").c_str(), nullptr);
    for (const std::wstring& file : FilesIn(folder))
        DeleteFileW((folder + L"\\" + file).c_str());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::wstring> BurnEngine::FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string BurnEngine::Narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], size, nullptr, nullptr);
    return result;
}
