// The files of one image while it is made. The BIN is written under a
// temporary name through a large buffer; when it is complete the CUE sheet
// is written under a temporary name too, both are flushed to the disk, then
// both take their final names, never replacing a file that is there.
// Whatever is not complete when the object goes away is deleted.
#pragma once

#include "burner/core/image/ImageWriter.h"

#include <windows.h>

#include <string>
#include <vector>

class ImageFiles : public ByteSink {
public:
    explicit ImageFiles(const std::wstring& folder);
    ~ImageFiles() override;
    ImageFiles(const ImageFiles&) = delete;
    ImageFiles& operator=(const ImageFiles&) = delete;

    // Creates the temporary BIN.
    bool Create();
    bool Write(const void* data, size_t bytes) override;
    std::wstring Error() const override { return m_error; }

    // Writes out the buffer, flushes the BIN to the disk and closes it.
    bool CloseData();
    // The CUE sheet for the tracks, then the final names "<base>.bin" and
    // "<base>.cue" (numbered when taken).
    bool Complete(const std::wstring& baseName, const std::string& titleUtf8,
                  const std::vector<int64_t>& trackSectors);
    // Deletes whatever has not become a finished image.
    void Discard();

    const std::wstring& CuePath() const { return m_cuePath; }
    const std::wstring& BinPath() const { return m_binPath; }

private:
    bool Flush();
    bool Fail(const std::wstring& what, DWORD error);
    bool WriteCue(const std::string& sheet);

    std::wstring m_folder;
    std::wstring m_binTemp;
    std::wstring m_cueTemp;
    std::wstring m_binPath;
    std::wstring m_cuePath;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::vector<char> m_buffer;
    size_t m_used = 0;
    bool m_complete = false;
    std::wstring m_error;
};
