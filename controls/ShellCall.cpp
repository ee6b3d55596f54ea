#include "controls/ShellCall.h"

#include <windows.h>
#include <shellapi.h>

void ExecuteShellCall(const ShellCall& call) {
    const wchar_t* verb = call.verb.empty() ? nullptr : call.verb.c_str();
    // Deliberately ignored: nothing is reported when the shell cannot open it.
    (void)ShellExecuteW(nullptr, verb, call.file.c_str(), nullptr, nullptr, call.showCommand);
}
