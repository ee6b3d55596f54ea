// The bounded buffer between the decoding threads and the image writer,
// bounded in bytes whatever the number or length of the tracks. Each track
// has its own queue of decoded chunks; at most `window` tracks are in flight
// at once (the one being written and the next ones). Tracks ahead of the
// one being written may hold only half the budget in memory, so they can
// never take the room the track being written needs; with a spill store,
// what such a track decodes beyond its share goes to the store instead of
// making its decoder wait, and the writer reads it back when it comes to
// that track. The writer takes chunks in track order, and each track's in
// the order they were pushed: those in memory from before the spill, the
// spilled ones, then those pushed once the track was being written.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// Where decoded audio waits when the memory budget is spent: one stream of
// samples per track, appended by that track's decoder and read back, in
// order, by the writer (perhaps while the decoder still appends). Calls may
// come from different threads at once; the store guards itself.
class SpillStore {
public:
    virtual ~SpillStore() = default;
    // Appends samples to the track's stream; false when they could not be
    // kept (Error says why).
    virtual bool Append(size_t track, const int16_t* samples, size_t count) = 0;
    // Reads the next count samples of the track's stream; false on failure.
    virtual bool Read(size_t track, int16_t* samples, size_t count) = 0;
    // The track's stream is no longer needed.
    virtual void Discard(size_t track) = 0;
    virtual std::wstring Error() const = 0;
};

class TrackPipeline {
public:
    using Chunk = std::vector<int16_t>;

    // spill may be null: tracks ahead then wait for room in memory. It must
    // outlive the pipeline's use.
    TrackPipeline(size_t trackCount, size_t budgetBytes, size_t window,
                  SpillStore* spill = nullptr);

    // Decoder side. Each returns false once the run is cancelled or failed.
    // Waits until the track may start: fewer than `window` tracks ahead of
    // the writer.
    bool WaitForTurn(size_t track);
    // Waits while the budget is full for this track (a chunk of the track
    // being written always fits when its queue is empty); a track ahead
    // that has spent its share spills instead. A failing spill fails the
    // run (the writer's Pop says SpillFailed).
    bool Push(size_t track, Chunk chunk);
    void Finish(size_t track);
    // The track cannot be decoded; the writer stops at the next Pop.
    void Fail(size_t track, const std::wstring& error);

    // Writer side.
    enum class Next { Chunk, TrackEnd, Failed, SpillFailed, Cancelled, Done };
    // Waits for the next chunk of the front track. TrackEnd: the front track
    // is complete (track says which) and the next one becomes the front.
    // Failed: some track failed (track and error say which and why).
    // SpillFailed: audio could not be kept aside or read back (error says why).
    Next Pop(Chunk& chunk, size_t& track, std::wstring& error);

    void Cancel();
    bool IsCancelled() const;

    // Buffered bytes in memory against the budget, 0 to 1 (spilled audio
    // takes no memory).
    double Fill() const;
    // Bytes spilled so far, all tracks together.
    uint64_t SpilledBytes() const;

private:
    struct TrackQueue {
        std::deque<Chunk> chunks;   // in memory, before any spill
        std::deque<size_t> spilled; // sizes (samples) of chunks in the store, unread
        std::deque<Chunk> after; // in memory, pushed once the spill began and the track was front
        size_t bytes = 0;        // in chunks and after
        bool spilling = false;   // some of its audio went to the store
        bool finished = false;
    };
    bool Readable(const TrackQueue& queue) const;
    void FailSpill(const std::wstring& error);

    mutable std::mutex m_mutex;
    std::condition_variable m_decoders; // room in a queue, or the front moved
    std::condition_variable m_writer;   // a chunk, a track's end or a failure
    std::vector<TrackQueue> m_tracks;
    SpillStore* m_spill;
    size_t m_budget;
    size_t m_window;
    size_t m_front = 0;
    size_t m_buffered = 0;
    uint64_t m_spilledBytes = 0;
    bool m_cancelled = false;
    bool m_failed = false;
    bool m_spillFailed = false;
    size_t m_failedTrack = 0;
    std::wstring m_error;
};
