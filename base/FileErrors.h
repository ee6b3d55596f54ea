// Why a file or folder could not be used, as the end of a sentence
// ("it does not exist."), for any message that names the file itself.
#pragma once

#include <string>

std::wstring FileErrorReason(unsigned long win32Error);
