// How long the project's tracks play in all, measured on a thread of its own
// so that the burn dialog opens at once and closes at once: the thread keeps
// what it shares with the dialog alive itself, and once stopped it posts
// nothing.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TrackSummary {
public:
    TrackSummary() = default;
    ~TrackSummary() { Stop(); }
    TrackSummary(const TrackSummary&) = delete;
    TrackSummary& operator=(const TrackSummary&) = delete;

    // Measures the files and then posts `message` to `notify`.
    void Start(std::vector<std::wstring> paths, HWND notify, UINT message);
    // No message comes after this; returns at once.
    void Stop();

    // Valid once the message has come.
    int64_t Seconds() const { return m_shared ? m_shared->seconds.load() : 0; }
    size_t Unreadable() const { return m_shared ? m_shared->unreadable.load() : 0; }

private:
    struct Shared {
        std::atomic<bool> stop{false};
        std::atomic<int64_t> seconds{0};
        std::atomic<size_t> unreadable{0};
    };
    std::shared_ptr<Shared> m_shared;
};

// "1 track, 0:07" / "12 tracks, 63:20 (2 cannot be read)": minutes may pass 59.
std::wstring TrackSummaryText(size_t tracks, int64_t seconds, size_t unreadable);
