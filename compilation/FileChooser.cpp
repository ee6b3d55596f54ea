#include "compilation/FileChooser.h"

bool OpenFileChooser::ChooseAudioFiles(HWND, std::vector<std::wstring>&) { return false; }

std::vector<std::wstring> SplitOpenDialogResult(const wchar_t*, size_t) { return {}; }
