// The real engine on command, one a line on standard input, each answered
// on standard output once the engine call has returned, so that a script can
// record the sound card meanwhile:
//   play <path>            -> "played <PlayAudioFile's code>"
//   stop                   -> "stopped <AudioFileStop's code>"
//   burn <folder> <path>   -> "burned <ok, or the burn-done text>"
//   quit
// With arguments (<folder> <path>...) it shows the burn dialog for the files.
#include "engine/EngineBinding.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

HANDLE g_burnDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
std::string g_burnDoneText;

void ENGINE_CALL OnBurnDone(const char* text, void*) {
    g_burnDoneText = text != nullptr && text[0] != '\0' ? text : "ok";
    SetEvent(g_burnDone);
}

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

// Image folder and label, then the tracks.
void Project(const EngineApi& api, const std::wstring& folder, const wchar_t* const* paths,
             int count) {
    BurnOptions options;
    SetNotDefined(options);
    std::strcpy(options.volumeLabel, "PREVIEW");
    std::wmemset(options.imageFolder, 0, 260);
    folder.copy(options.imageFolder, 259);
    options.ejectAfterBurn = 0;
    api.SetOptions(options);
    for (int i = 0; i < count; ++i)
        api.AddFile(FileEntry{paths[i], L"\\"});
}

std::string Burn(const EngineApi& api, const std::string& arguments) {
    size_t space = arguments.find(' ');
    std::wstring path = Wide(arguments.substr(space + 1));
    const wchar_t* paths[] = {path.c_str()};
    Project(api, Wide(arguments.substr(0, space)), paths, 1);
    if (int32_t code = api.Prepare()) return "prepare failed " + std::to_string(code);
    if (int32_t code = api.Burn()) return "burn failed " + std::to_string(code);
    WaitForSingleObject(g_burnDone, 120000);
    return g_burnDoneText;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    EngineLibrary library;
    if (!library.Load(ProgramFolder() + L"DodIvadorO.dll")) return 1;
    const EngineApi& api = library.Api();
    api.Initialize(1);
    api.SetBurnDoneEventCallback(&OnBurnDone, nullptr);
    api.CreateProject(0);
    if (argc > 2) {
        Project(api, argv[1], argv + 2, argc - 2);
        std::printf("%d\n",
                    static_cast<int>(api.BurnDialog(0, 0, 1, L"Burn Audio Files to CD", L"")));
        return 0;
    }
    for (std::string line; std::getline(std::cin, line) && line != "quit";) {
        std::string verb = line.substr(0, line.find(' '));
        std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
        std::string answer = "unknown " + line;
        if (verb == "play")
            answer = "played " + std::to_string(api.PlayAudioFile(Wide(rest).c_str()));
        if (verb == "stop") answer = "stopped " + std::to_string(api.AudioFileStop());
        if (verb == "burn") answer = "burned " + Burn(api, rest);
        std::printf("%s\n", answer.c_str());
        std::fflush(stdout);
    }
    return 0;
}
