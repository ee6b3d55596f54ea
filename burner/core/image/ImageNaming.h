// Names of image files, made from the volume label: safe on every Windows
// file system and never the name of an image that is already there.
#pragma once

#include <functional>
#include <string>

// The label made a valid file name: invalid and control characters become
// "_", no leading spaces or trailing dots and spaces, no reserved device name
// (CON, NUL, COM1...), at most 64 characters. An empty result is "Audio CD".
std::wstring SafeFileName(const std::wstring& label);

// "name", "name (2)", "name (3)", ...
std::wstring NumberedName(const std::wstring& base, int number);

// The first numbered name whose .bin and .cue are both free; taken(path
// without extension) says whether either exists. Gives up after 9999 tries
// and returns an empty name.
std::wstring FirstFreeName(const std::wstring& base,
                           const std::function<bool(const std::wstring&)>& taken);
