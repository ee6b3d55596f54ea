// Many audio files at once, for the add test and its benchmark: two short
// WAVs (one and two seconds of 8 kHz 8-bit mono, so they stay small) and
// links to them under numbered names, as the Open dialog would list them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

inline void WriteSilentWav(const std::wstring& path, uint32_t seconds) {
    const uint32_t rate = 8000, bytes = rate * seconds;
    const uint32_t header[] = {0x46464952, 36 + bytes, 0x45564157, 0x20746d66, 16,   0x00010001,
                               rate,       rate,       0x00080001, 0x61746164, bytes};
    std::ofstream file(path.c_str(), std::ios::binary);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    file << std::string(bytes, '\x80');
}

// Full paths of `count` files in the folder (made once), playing one and two
// seconds in turn.
inline std::vector<std::wstring> ManyFiles(const std::wstring& folder, int count) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring lengths[] = {folder + L"\\one second.wav", folder + L"\\two seconds.wav"};
    WriteSilentWav(lengths[0], 1);
    WriteSilentWav(lengths[1], 2);
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"\\t%04d.wav", i + 1);
        paths.push_back(folder + name);
        if (GetFileAttributesW(paths.back().c_str()) == INVALID_FILE_ATTRIBUTES &&
            !CreateHardLinkW(paths.back().c_str(), lengths[i % 2].c_str(), nullptr))
            CopyFileW(lengths[i % 2].c_str(), paths.back().c_str(), TRUE);
    }
    return paths;
}
