// Decoded audio kept aside on the disk while a track ahead of the one being
// written has spent its share of memory: one temporary file per track, in
// the image's folder and named like the image's own temporary files, so a
// run that never ended leaves them to the same clean-up. Each is deleted
// once its track is written, and all of them when the run ends however it
// ends; after Close nothing more is written.
#pragma once

#include "burner/core/run/TrackPipeline.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

class SpillFiles : public SpillStore {
public:
    explicit SpillFiles(const std::wstring& folder);
    ~SpillFiles() override;
    SpillFiles(const SpillFiles&) = delete;
    SpillFiles& operator=(const SpillFiles&) = delete;

    bool Append(size_t track, const int16_t* samples, size_t count) override;
    bool Read(size_t track, int16_t* samples, size_t count) override;
    void Discard(size_t track) override;
    std::wstring Error() const override;

    // Deletes every file; later appends fail.
    void Close();

private:
    struct File {
        std::wstring path;
        HANDLE handle = INVALID_HANDLE_VALUE;
        uint64_t written = 0; // bytes
        uint64_t read = 0;
    };
    bool Fail(const std::wstring& what, DWORD error);
    void Remove(File& file);

    mutable std::mutex m_mutex; // guards everything below
    std::wstring m_folder;
    std::map<size_t, File> m_files;
    bool m_closed = false;
    std::wstring m_error;
};
