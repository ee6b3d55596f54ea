// The real engine on command, one a line on standard input, each answered
// on standard output once the engine call has returned, so that a script can
// record the sound card meanwhile:
//   play <path>    -> "played <PlayAudioFile's code>"
//   stop           -> "stopped <AudioFileStop's code>"
//   quit
// With arguments (<folder> <path>...) it shows the burn dialog for the files.
#include "engine/EngineBinding.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iostream>
#include <string>

int wmain(int argc, wchar_t** argv) {
    EngineLibrary library;
    if (!library.Load(ProgramFolder() + kEngineFileName)) return 1;
    const EngineApi& api = library.Api();
    api.Initialize(1);
    api.CreateProject(0);
    if (argc > 2) {
        BurnOptions options;
        SetNotDefined(options);
        std::strcpy(options.volumeLabel, "PREVIEW");
        std::wmemset(options.imageFolder, 0, 260);
        std::wcsncpy(options.imageFolder, argv[1], 259);
        options.ejectAfterBurn = 0;
        api.SetOptions(options);
        for (int i = 2; i < argc; ++i)
            api.AddFile(FileEntry{argv[i], L"\\"});
        std::printf("%d\n", api.BurnDialog(0, 0, 1, L"Burn Audio Files to CD", L""));
        return 0;
    }
    // The paths the sound test gives are plain ASCII.
    for (std::string line; std::getline(std::cin, line) && line != "quit"; std::fflush(stdout)) {
        if (line.rfind("play ", 0) == 0)
            std::printf("played %d\n",
                        api.PlayAudioFile(std::wstring(line.begin() + 5, line.end()).c_str()));
        else if (line == "stop")
            std::printf("stopped %d\n", api.AudioFileStop());
        else
            std::printf("unknown %s\n", line.c_str());
    }
    return 0;
}
