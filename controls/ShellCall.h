// A request for the shell's default action on an address, kept as data so
// that the link and the update question can be tested without a browser.
#pragma once

#include <functional>
#include <string>

struct ShellCall {
    std::wstring verb; // empty: the shell's default verb
    std::wstring file;
    int showCommand = 1;
};

using ShellOpener = std::function<void(const ShellCall& call)>;

// ShellExecuteW with no owner, parameters or directory. The outcome is not
// looked at: a browser that fails to start is not ours to report.
void ExecuteShellCall(const ShellCall& call);
