// The command line as the application reads it: an argument beginning with
// '-' or '/' is a switch; everything else is ignored.
#pragma once

#include <string>
#include <vector>

struct CommandLineInfo {
    std::vector<std::wstring> switches; // without their '-' or '/'
    bool embedding = false;             // "Embedding", any case
    bool automation = false;            // "Automation", any case

    // The splash may show unless started as an embedded or automation server.
    bool SplashAllowed() const { return !embedding && !automation; }
};

// Parses the arguments after the program name.
CommandLineInfo ParseCommandLine(const std::vector<std::wstring>& arguments);

// The running program's arguments, program name excluded.
std::vector<std::wstring> ProgramArguments();
