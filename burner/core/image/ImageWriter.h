// Lays the tracks of a disc image out in its BIN file: each track's frames
// as they come, then silence up to its last whole sector (and up to 4 s for
// a short track). Where the bytes go is a ByteSink: the temporary file in
// the engine, anything at all in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be written; Error() then says why.
    virtual bool Write(const void* data, size_t bytes) = 0;
    virtual std::wstring Error() const = 0;
};

class ImageWriter {
public:
    explicit ImageWriter(ByteSink& sink) : m_sink(sink) {}

    // frames of interleaved 16-bit stereo for the current track.
    bool WriteFrames(const int16_t* stereo, size_t frames);
    // Pads the current track and starts the next.
    bool EndTrack();

    const std::vector<int64_t>& TrackSectors() const { return m_trackSectors; }
    int64_t CurrentTrackFrames() const { return m_trackFrames; }
    uint64_t BytesWritten() const { return m_bytes; }

private:
    ByteSink& m_sink;
    int64_t m_trackFrames = 0;
    uint64_t m_bytes = 0;
    std::vector<int64_t> m_trackSectors;
};
