// Libraries loaded at run time from known folders only, and those folders.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();
// The system folder (System32), with a trailing backslash.
std::wstring SystemFolder();

using LoadLibraryFunction = HMODULE(WINAPI*)(LPCWSTR, HANDLE, DWORD);

// Loads a library (a full path, or a bare name) from the folders that
// searchFlags (LOAD_LIBRARY_SEARCH_*) name, never from the current directory
// or the search path. A system without the loader update refuses those flags
// (ERROR_INVALID_PARAMETER); there a full path is loaded as it is, its own
// needs found beside it first, and a bare name by its full path in the
// program's folder and then the system folder, as the flags ask. load stands
// in for LoadLibraryExW in the tests.
HMODULE LoadLibraryFromKnownFolders(const std::wstring& file, DWORD searchFlags,
                                    LoadLibraryFunction load = &LoadLibraryExW);
