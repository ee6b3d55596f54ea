// The Image Recorder's "eject": the finished image shown, selected, in the
// file manager.
#pragma once

#include <string>

// explorer.exe's command line that opens the file's folder with it selected.
std::wstring FileManagerCommandLine(const std::wstring& windowsFolder, const std::wstring& path);

// Starts the file manager and returns at once; false when it could not start.
bool ShowInFileManager(const std::wstring& path);
