// A spill store in memory for the pipeline's tests: it keeps each track's
// stream, counts what went in and came back, and fails where it is told to.
#pragma once

#include "burner/core/run/TrackPipeline.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class MemorySpill : public SpillStore {
public:
    int failAppendAt = -1; // the append (counted from 0) that fails, or none
    int failReadAt = -1;   // the read that fails, or none
    std::atomic<size_t> appendedBytes{0}, readBytes{0};

    bool Append(size_t track, const int16_t* samples, size_t count) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_appends++ == failAppendAt) return Refuse(L"the disk is full");
        Stream& stream = m_streams[track];
        stream.samples.insert(stream.samples.end(), samples, samples + count);
        appendedBytes += count * sizeof(int16_t);
        return true;
    }
    bool Read(size_t track, int16_t* samples, size_t count) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_reads++ == failReadAt) return Refuse(L"the spill could not be read");
        auto found = m_streams.find(track);
        if (found == m_streams.end() || found->second.read + count > found->second.samples.size())
            return Refuse(L"read past what was kept");
        Stream& stream = found->second;
        std::copy_n(stream.samples.begin() + static_cast<std::ptrdiff_t>(stream.read), count,
                    samples);
        stream.read += count;
        readBytes += count * sizeof(int16_t);
        return true;
    }
    void Discard(size_t track) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_streams.erase(track);
    }
    std::wstring Error() const override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_error;
    }
    // Streams appended to and not discarded.
    size_t Kept() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_streams.size();
    }

private:
    struct Stream {
        std::vector<int16_t> samples;
        size_t read = 0;
    };
    bool Refuse(const std::wstring& why) {
        m_error = why;
        return false;
    }
    mutable std::mutex m_mutex;
    std::map<size_t, Stream> m_streams;
    int m_appends = 0, m_reads = 0;
    std::wstring m_error;
};
