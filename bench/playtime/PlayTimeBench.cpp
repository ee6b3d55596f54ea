// Play time of a folder of audio files, measured twice in the same run: by
// the engine's header readers (MeasurePlayTime, what GetPlayTime does) and
// by Media Foundation's stated duration alone. Prints both and their ratio.
#include "burner/playtime/MediaFoundationLength.h"
#include "burner/playtime/PlayTime.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int32_t OurSeconds(const std::wstring& path) {
    int32_t seconds = 0;
    MeasurePlayTime(path.c_str(), &seconds);
    return seconds;
}

int32_t PlatformSeconds(const std::wstring& path) {
    MediaFoundationLength length = MeasureWithMediaFoundation(path.c_str());
    return length.outcome == MediaFoundationOutcome::Measured
               ? static_cast<int32_t>(length.duration / 10000000)
               : 0;
}

// Seconds per pass over all files, the best of several passes.
template <class Measure>
double BestPass(const std::vector<std::wstring>& files, Measure measure, int passes,
                std::vector<int32_t>& results) {
    double best = 1e30;
    for (int pass = 0; pass < passes; ++pass) {
        double start = Now();
        for (size_t i = 0; i < files.size(); ++i)
            results[i] = measure(files[i]);
        best = std::min(best, Now() - start);
    }
    return best;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: playtime_bench FOLDER\n");
        return 2;
    }
    std::vector<std::wstring> files = FilesIn(argv[1]);
    if (files.empty()) {
        std::fprintf(stderr, "no files in the folder\n");
        return 1;
    }
    std::vector<int32_t> ours(files.size()), platform(files.size());
    // A first pass of each warms the file cache and starts Media Foundation.
    BestPass(files, OurSeconds, 1, ours);
    BestPass(files, PlatformSeconds, 1, platform);
    double oursTime = BestPass(files, OurSeconds, 5, ours);
    double platformTime = BestPass(files, PlatformSeconds, 3, platform);

    size_t same = 0, withinOne = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        same += ours[i] == platform[i];
        withinOne += ours[i] - platform[i] <= 1 && platform[i] - ours[i] <= 1;
        if (ours[i] != platform[i])
            std::printf("  differs: %ls  ours %d s, Media Foundation %d s\n",
                        files[i].substr(files[i].find_last_of(L'\\') + 1).c_str(), ours[i],
                        platform[i]);
    }
    // Where the readers spend their time, by kind of file.
    std::vector<std::pair<std::wstring, std::pair<double, int>>> kinds;
    for (const std::wstring& file : files) {
        std::wstring kind = file.substr(file.find_last_of(L'.') + 1);
        double spent = 1e30;
        for (int i = 0; i < 5; ++i) {
            double start = Now();
            OurSeconds(file);
            spent = std::min(spent, Now() - start);
        }
        auto it = std::find_if(kinds.begin(), kinds.end(),
                               [&](const auto& k) { return k.first == kind; });
        if (it == kinds.end())
            kinds.push_back({kind, {spent, 1}});
        else {
            it->second.first += spent;
            it->second.second += 1;
        }
    }
    for (const auto& k : kinds)
        std::printf("  .%-5ls %3d files, %7.1f us a file\n", k.first.c_str(), k.second.second,
                    k.second.first * 1e6 / k.second.second);

    double n = static_cast<double>(files.size());
    std::printf("files:                      %zu\n", files.size());
    std::printf("header readers:             %8.1f ms  (%7.1f us a file)\n", oursTime * 1e3,
                oursTime * 1e6 / n);
    std::printf("Media Foundation duration:  %8.1f ms  (%7.1f us a file)\n", platformTime * 1e3,
                platformTime * 1e6 / n);
    std::printf("ratio:                      %8.1f times faster\n", platformTime / oursTime);
    std::printf("same seconds:               %zu of %zu (within one second: %zu)\n", same,
                files.size(), withinOne);
    return 0;
}
