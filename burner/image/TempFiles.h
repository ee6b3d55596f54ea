// Temporary files of images being made: "qtn-<process id>-<n>.tmp" in the
// image's own folder (so the finished image is only renamed, never copied).
// The process id in the name lets a later run remove what a run that never
// ended (the program was killed, the machine went down) left behind.
#pragma once

#include <cstdint>
#include <string>

// Creates a new, empty temporary file in the folder; false with
// GetLastError set when none can be created.
bool CreateTempFile(const std::wstring& folder, std::wstring& path);

// The process id in a temporary file's name, or 0 for any other name.
uint32_t TempFileOwner(const std::wstring& fileName);

// The run that made the file is done with it: it took the image's name, was
// deleted, or could not be deleted (its drive was gone, say).
void ReleaseTempFile(const std::wstring& path);

// Deletes the folder's temporary files whose process is gone, and this
// process's own that no run holds any more. Returns how many it deleted.
int RemoveAbandonedTempFiles(const std::wstring& folder);
