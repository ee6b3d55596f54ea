// Times one whole burn through the real engine: every file given on the
// command line (or listed, one per line, in a file given as @list) becomes
// a track of one image in the folder given first.
//   burn_bench.exe <image folder> <file>... | @<list file>
// Prints the seconds from Prepare to the burn-done event, the audio's
// length, the speed as a multiple of real time, and the process's working
// set: before the burn and at its peak (the engine runs in this process).
#include "engine/EngineBinding.h"

#include <windows.h>
#include <psapi.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::mutex g_mutex;
std::condition_variable g_done;
bool g_finished = false;
std::string g_error;
double g_bytes = 0;

void ENGINE_CALL OnFinalize(void*) {}
void ENGINE_CALL OnBurnDone(const char* text, void*) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_finished = true;
    if (text != nullptr) g_error = text;
    g_done.notify_all();
}
void ENGINE_CALL OnProcess(float, uint32_t, float, double bytes, uint64_t, void*) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_bytes = bytes;
}
void ENGINE_CALL OnDecoder(float, uint64_t, void*) {}
void ENGINE_CALL OnDecodeDone(const char* name, uint32_t, int32_t error, void*) {
    if (error != 0) std::fprintf(stderr, "cannot decode %s\n", name);
}

double Now() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Megabytes(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::vector<std::wstring> Files(int argc, wchar_t** argv) {
    std::vector<std::wstring> files;
    for (int i = 2; i < argc; ++i) {
        if (argv[i][0] != L'@') {
            files.push_back(argv[i]);
            continue;
        }
        std::wifstream list(argv[i] + 1);
        for (std::wstring line; std::getline(list, line);)
            if (!line.empty()) files.push_back(line);
    }
    return files;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: burn_bench <image folder> <file>... | @<list>\n");
        return 2;
    }
    EngineLibrary engine;
    if (!engine.Load(ProgramFolder() + L"DodIvadorO.dll")) return 1;
    const EngineApi& api = engine.Api();
    api.Initialize(1);
    api.SetFinalizeEventCallback(&OnFinalize, nullptr);
    api.SetBurnDoneEventCallback(&OnBurnDone, nullptr);
    api.SetProcessEventCallback(&OnProcess, nullptr);
    api.SetAudioDecoderEventCallback(&OnDecoder, nullptr);
    api.SetAudioDecodeDoneEventCallback(&OnDecodeDone, nullptr);
    api.CreateProject(0);
    BurnOptions options;
    SetNotDefined(options);
    api.GetOptions(&options);
    std::memset(options.volumeLabel, 0, sizeof options.volumeLabel);
    std::strcpy(options.volumeLabel, "Benchmark");
    std::memset(options.imageFolder, 0, sizeof options.imageFolder);
    std::wstring folder = argv[1];
    folder.copy(options.imageFolder, 259);
    options.ejectAfterBurn = 0;
    api.SetOptions(options);
    for (const std::wstring& file : Files(argc, argv)) {
        FileEntry entry{};
        entry.sourcePath = file.c_str();
        entry.destinationFolder = L"\\";
        api.AddFile(entry);
    }
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    double start = Now();
    int32_t code = api.Prepare();
    double prepared = Now();
    if (code == 0) code = api.Burn();
    if (code != 0) {
        wchar_t text[kTextCapacity];
        int32_t capacity = kTextCapacity;
        api.GetText(code, text, &capacity);
        std::fwprintf(stderr, L"failed: %ls\n", text);
        return 1;
    }
    std::unique_lock<std::mutex> lock(g_mutex);
    // Waits for the run's end; the handlers above never wait for this thread.
    g_done.wait(lock, [] { return g_finished; });
    double end = Now();
    if (!g_error.empty()) {
        std::fprintf(stderr, "failed: %s\n", g_error.c_str());
        return 1;
    }
    double audioSeconds = g_bytes / 176400.0;
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    std::printf("engine: %.1f s of audio in %.2f s (prepare %.2f s): %.0fx real time\n",
                audioSeconds, end - start, prepared - start, audioSeconds / (end - start));
    std::printf("working set: %.1f MB before the burn, peak %.1f MB\n",
                Megabytes(before.WorkingSetSize), Megabytes(after.PeakWorkingSetSize));
    return 0;
}
