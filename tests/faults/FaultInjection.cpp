#include "tests/faults/FaultInjection.h"

#include <cwctype>
#include <mutex>

namespace {

using Event = RecordedEvent;

// The armed fault, read by the hooks on whatever thread the engine or the
// decoders call from.
struct Armed {
    std::mutex mutex; // guards the members that are not atomic
    bool armed = false;
    FaultCase fault{Fault::DiskFull, Stage::Probe, 0};
    std::wstring victim; // the source's file name, lower case
    std::vector<std::wstring> sources;
    std::wstring deniedFolder;
    std::function<void()> action;
    std::atomic<Phase> phase{Phase::Idle};
    std::atomic<bool> fired{false}, unreadable{false}, finalized{false};
    std::atomic<int> tracksWritten{0}, flushes{0}, renames{0};
} g;

std::wstring LowerName(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    return name;
}

// The fault, when one is armed for this stage (and this source, or this
// track) and not made yet: the caller makes it.
bool Claim(Stage stage, FaultCase& fault, const wchar_t* path = nullptr, int track = 0) {
    std::lock_guard<std::mutex> lock(g.mutex);
    if (!g.armed || g.fault.stage != stage || (path && LowerName(path) != g.victim) ||
        (track && track != g.fault.track))
        return false;
    fault = g.fault;
    return !g.fired.exchange(true);
}

Fault ArmedFault() {
    std::lock_guard<std::mutex> lock(g.mutex);
    return g.fault.fault;
}

// Makes the faults that need no more than the call: true when it goes on.
bool Make(Fault fault) {
    if (fault == Fault::DiskFull) {
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    std::function<void()> action;
    {
        std::lock_guard<std::mutex> lock(g.mutex);
        action = g.action;
    }
    if ((fault == Fault::Abort || fault == Fault::Action) && action) action();
    return true;
}

bool IsDenied(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(g.mutex);
    const std::wstring& folder = g.deniedFolder;
    return !folder.empty() && path.size() > folder.size() && path[folder.size()] == L'\\' &&
           _wcsnicmp(path.c_str(), folder.c_str(), folder.size()) == 0;
}

void DamageSecondHalf(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{}, half{};
    GetFileSizeEx(file, &size);
    half.QuadPart = size.QuadPart / 2;
    SetFilePointerEx(file, half, nullptr, FILE_BEGIN);
    std::string garbage(static_cast<size_t>(size.QuadPart - half.QuadPart), '\0');
    unsigned seed = 12345;
    for (char& byte : garbage)
        byte = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    DWORD written = 0;
    // Garbage in a WAV's samples would still be sound: there the data ends.
    if (LowerName(path).find(L".wav") != std::wstring::npos)
        SetEndOfFile(file);
    else
        WriteFile(file, garbage.data(), static_cast<DWORD>(garbage.size()), &written, nullptr);
    CloseHandle(file);
}

HANDLE WINAPI HookCreateFile(LPCWSTR path, DWORD access, DWORD share,
                             LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                             HANDLE model) {
    if (path != nullptr && (access & GENERIC_WRITE) && IsDenied(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    FaultCase fault{};
    Stage stage = g.phase == Phase::Preparing ? Stage::Probe : Stage::Decode;
    if (path != nullptr && g.phase != Phase::Idle && Claim(stage, fault, path)) {
        if (fault.fault == Fault::Vanishes) DeleteFileW(path);
        if (fault.fault == Fault::Damaged) DamageSecondHalf(path);
        g.unreadable = fault.fault == Fault::Unreadable;
        Make(fault.fault);
    }
    return CreateFileW(path, access, share, security, disposition, flags, model);
}

// Whether a read of the unreadable source reaches into its second half.
bool ReadsBadHalf(HANDLE file, DWORD count, LPOVERLAPPED at) {
    wchar_t path[2048];
    DWORD length = GetFinalPathNameByHandleW(file, path, 2048, FILE_NAME_NORMALIZED);
    {
        std::lock_guard<std::mutex> lock(g.mutex);
        if (length == 0 || length >= 2048 || LowerName(path) != g.victim) return false;
    }
    LARGE_INTEGER position{}, size{};
    if (at != nullptr)
        position.QuadPart = static_cast<LONGLONG>(at->OffsetHigh) << 32 | at->Offset;
    else
        SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT);
    return GetFileSizeEx(file, &size) && position.QuadPart + count > size.QuadPart / 2;
}

BOOL WINAPI HookRead(HANDLE file, LPVOID data, DWORD count, LPDWORD read, LPOVERLAPPED at) {
    if (g.unreadable && ReadsBadHalf(file, count, at)) {
        if (read != nullptr) *read = 0;
        SetLastError(ERROR_CRC);
        return FALSE;
    }
    return ReadFile(file, data, count, read, at);
}

BOOL WINAPI HookWrite(HANDLE file, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED at) {
    // The image's writes while a track is written, then the CUE sheet's.
    // Audio kept aside is written at stated offsets, the image in sequence.
    FaultCase fault{};
    Stage stage = g.finalized ? Stage::Finalized : at != nullptr ? Stage::Spill : Stage::Write;
    bool made = g.phase == Phase::Burning &&
                Claim(stage, fault, nullptr, stage == Stage::Write ? g.tracksWritten + 1 : 0);
    return (!made || Make(fault.fault)) && WriteFile(file, data, count, written, at);
}

// The first and second calls of a kind in a run: the BIN's and the CUE sheet's.
bool MakeAtCall(std::atomic<int>& calls, Stage first, Stage second) {
    FaultCase fault{};
    int n = ++calls;
    return !((n == 1 && Claim(first, fault)) || (n == 2 && Claim(second, fault))) ||
           Make(fault.fault);
}

BOOL WINAPI HookFlush(HANDLE file) {
    return MakeAtCall(g.flushes, Stage::FlushImage, Stage::FlushCue) && FlushFileBuffers(file);
}

BOOL WINAPI HookMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
    return MakeAtCall(g.renames, Stage::RenameImage, Stage::RenameCue) &&
           MoveFileExW(from, to, flags);
}

// Prepare's check that the folder takes files.
UINT WINAPI HookTempName(LPCWSTR folder, LPCWSTR prefix, UINT unique, LPWSTR name) {
    FaultCase fault{};
    if (folder != nullptr && IsDenied(std::wstring(folder) + L"\\x")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    if (g.phase == Phase::Preparing && ArmedFault() == Fault::DiskFull &&
        Claim(Stage::Probe, fault) && !Make(fault.fault))
        return 0;
    return GetTempFileNameW(folder, prefix, unique, name);
}

std::atomic<FaultInjector*> g_injector{nullptr};

void ENGINE_CALL OnFinalize(void*) {
    RecordEvent({Event::Finalize});
    if (FaultInjector* injector = g_injector) injector->Finalized();
}

void ENGINE_CALL OnDecodeDone(const char* name, uint32_t, int32_t error, void*) {
    RecordEvent({Event::DecodeDone, 0, 0, 0, false, name ? name : "", error});
    if (FaultInjector* injector = g_injector; injector && error == 0) injector->TrackWritten();
}

} // namespace

std::string NameOf(const FaultCase& fault) {
    static const char* const faults[] = {"DiskFull", "Vanishes", "Unreadable",
                                         "Damaged",  "Abort",    "Action"};
    static const char* const stages[] = {"Probe",      "Decode",    "Write",
                                         "FlushImage", "FlushCue",  "RenameImage",
                                         "RenameCue",  "Finalized", "Spill"};
    std::string name = std::string(faults[static_cast<int>(fault.fault)]) + "At" +
                       stages[static_cast<int>(fault.stage)];
    return fault.track > 0 ? name + std::to_string(fault.track) : name;
}

FaultInjector::FaultInjector() {
    auto patch = [this](HMODULE module, const char* function, const void* hook,
                        ImportPatch::Need need = ImportPatch::Required) {
        m_patches.push_back(std::make_unique<ImportPatch>(module, function, hook, need));
    };
    HMODULE engine = EngineModule();
    patch(engine, "WriteFile", reinterpret_cast<const void*>(&HookWrite));
    patch(engine, "FlushFileBuffers", reinterpret_cast<const void*>(&HookFlush));
    patch(engine, "MoveFileExW", reinterpret_cast<const void*>(&HookMove));
    patch(engine, "GetTempFileNameW", reinterpret_cast<const void*>(&HookTempName));
    // Sources are opened and read by the engine itself and by the platform's
    // decoders, through whichever runtime they use.
    for (HMODULE module : {engine, GetModuleHandleW(L"mfplat.dll"), GetModuleHandleW(L"msvcrt.dll"),
                           GetModuleHandleW(L"ucrtbase.dll")}) {
        ImportPatch::Need need = module == engine ? ImportPatch::Required : ImportPatch::Optional;
        patch(module, "CreateFileW", reinterpret_cast<const void*>(&HookCreateFile), need);
        patch(module, "ReadFile", reinterpret_cast<const void*>(&HookRead), need);
    }
}

FaultInjector::~FaultInjector() {
    Disarm();
    DenyWritesIn(L"");
    SetAction(nullptr);
}

void FaultInjector::Arm(const FaultCase& fault, const std::vector<std::wstring>& sources) {
    std::lock_guard<std::mutex> lock(g.mutex);
    g.fault = fault;
    g.sources = sources;
    g.victim = fault.track > 0 ? LowerName(sources.at(fault.track - 1)) : L"";
    g.fired = g.unreadable = g.finalized = false;
    g.tracksWritten = g.flushes = g.renames = 0;
    g.armed = true;
}

void FaultInjector::Disarm() {
    std::lock_guard<std::mutex> lock(g.mutex);
    g.armed = g.unreadable = false;
    g.phase = Phase::Idle;
}

void FaultInjector::SetPhase(Phase phase) {
    g.phase = phase;
}

void FaultInjector::SetAction(std::function<void()> action) {
    std::lock_guard<std::mutex> lock(g.mutex);
    g.action = std::move(action);
}

void FaultInjector::DenyWritesIn(const std::wstring& folder) {
    std::lock_guard<std::mutex> lock(g.mutex);
    g.deniedFolder = folder;
}

bool FaultInjector::Fired() const {
    return g.fired;
}

void FaultInjector::TrackWritten() {
    ++g.tracksWritten;
}

void FaultInjector::Finalized() {
    g.finalized = true;
    FaultCase fault{};
    // A full disk fails the CUE sheet's write, after this event.
    if (ArmedFault() == Fault::DiskFull || !Claim(Stage::Finalized, fault)) return;
    if (fault.fault == Fault::Vanishes) {
        std::lock_guard<std::mutex> lock(g.mutex);
        for (const std::wstring& source : g.sources)
            DeleteFileW(source.c_str());
    } else {
        Make(fault.fault);
    }
}

void FaultyEngine::SetUp() {
    BurnEngine::SetUp();
    g_injector = &m_faults;
    Api().SetFinalizeEventCallback(&OnFinalize, nullptr);
    Api().SetAudioDecodeDoneEventCallback(&OnDecodeDone, nullptr);
    m_faults.SetAction([this] {
        m_aborted = true;
        EXPECT_EQ(0, Api().Abort());
        m_eventsAtAbort = Events().size();
    });
}

void FaultyEngine::TearDown() {
    m_faults.Disarm();
    g_injector = nullptr;
    BurnEngine::TearDown();
}

std::vector<std::wstring> FaultyEngine::CopySources(const std::wstring& folder,
                                                    const std::vector<std::wstring>& names) {
    const std::vector<std::wstring> media = {L"one.wav", L"two.mp3", L"three.ogg"};
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < media.size(); ++i) {
        paths.push_back(folder + L"\\" + (names.empty() ? media[i] : names[i]));
        EXPECT_TRUE(CopyFileW(Media(media[i]).c_str(), paths.back().c_str(), FALSE));
    }
    return paths;
}

std::string FaultyEngine::Run() {
    m_aborted = false;
    m_faults.SetPhase(Phase::Preparing);
    int32_t code = Api().Prepare();
    m_faults.SetPhase(Phase::Burning);
    if (code != 0) return "Prepare: " + Narrow(TextOf(code));
    if ((code = Api().Burn()) != 0) return "Burn: " + Narrow(TextOf(code));
    if (!Eventually([&] { return m_aborted || !Events(Event::BurnDone).empty(); }, 120))
        return "no end";
    if (m_aborted) return "stopped";
    Event done = Events(Event::BurnDone).back();
    return done.nullText ? "" : done.text;
}

bool FaultyEngine::RemoveFolder(const std::wstring& folder) {
    for (const std::wstring& file : FilesIn(folder))
        DeleteFileW((folder + L"\\" + file).c_str());
    // A file still open is only marked for deletion, and keeps its folder.
    return RemoveDirectoryW(folder.c_str()) ||
           GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void FaultyEngine::ExpectTheNextRunSucceeds() {
    m_faults.Disarm();
    ClearEvents();
    std::wstring folder = FreshFolder(L"next");
    SetImageOptions("NEXT", folder);
    Add(Media(L"next.wav"));
    EXPECT_EQ("", Run());
    EXPECT_EQ((std::vector<std::wstring>{L"NEXT.bin", L"NEXT.cue"}), FilesIn(folder));
    EXPECT_TRUE(RemoveFolder(folder));
}
