// The bounded buffer between the decoding threads and the image writer,
// bounded in bytes whatever the number or length of the tracks. Each track
// has its own queue of decoded chunks; at most `window` tracks are in flight
// at once (the one being written and the next ones). Tracks ahead of the
// one being written may fill only half the budget, so they can never take
// the room the track being written needs. The writer takes chunks in track
// order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

class TrackPipeline {
public:
    using Chunk = std::vector<int16_t>;

    TrackPipeline(size_t trackCount, size_t budgetBytes, size_t window);

    // Decoder side. Each returns false once the run is cancelled.
    // Waits until the track may start: fewer than `window` tracks ahead of
    // the writer.
    bool WaitForTurn(size_t track);
    // Waits while the budget is full for this track (a chunk of the track
    // being written always fits when its queue is empty).
    bool Push(size_t track, Chunk chunk);
    void Finish(size_t track);
    // The track cannot be decoded; the writer stops at the next Pop.
    void Fail(size_t track, const std::wstring& error);

    // Writer side.
    enum class Next { Chunk, TrackEnd, Failed, Cancelled, Done };
    // Waits for the next chunk of the front track. TrackEnd: the front track
    // is complete (track says which) and the next one becomes the front.
    // Failed: some track failed (track and error say which and why).
    Next Pop(Chunk& chunk, size_t& track, std::wstring& error);

    void Cancel();
    bool IsCancelled() const;

    // Buffered bytes against the budget, 0 to 1.
    double Fill() const;

private:
    struct TrackQueue {
        std::deque<Chunk> chunks;
        size_t bytes = 0;
        bool finished = false;
    };

    mutable std::mutex m_mutex;
    std::condition_variable m_decoders; // room in a queue, or the front moved
    std::condition_variable m_writer;   // a chunk, a track's end or a failure
    std::vector<TrackQueue> m_tracks;
    size_t m_budget;
    size_t m_window;
    size_t m_front = 0;
    size_t m_buffered = 0;
    bool m_cancelled = false;
    bool m_failed = false;
    size_t m_failedTrack = 0;
    std::wstring m_error;
};
