#include "framework/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

namespace {

bool EqualsIgnoringCase(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

} // namespace

CommandLineInfo ParseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLineInfo info;
    for (const std::wstring& argument : arguments) {
        if (argument.empty() || (argument[0] != L'-' && argument[0] != L'/')) continue;
        std::wstring name = argument.substr(1);
        if (EqualsIgnoringCase(name, L"Embedding")) info.embedding = true;
        if (EqualsIgnoringCase(name, L"Automation")) info.automation = true;
        info.switches.push_back(std::move(name));
    }
    return info;
}

std::vector<std::wstring> ProgramArguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (list == nullptr) return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(list[i]);
    LocalFree(list);
    return arguments;
}
