#include "burner/core/run/TrackPipeline.h"

#include <algorithm>
#include <utility>

TrackPipeline::TrackPipeline(size_t trackCount, size_t budgetBytes, size_t window,
                             SpillStore* spill)
    : m_tracks(trackCount), m_spill(spill), m_budget(budgetBytes),
      m_window(std::max<size_t>(window, 1)) {}

bool TrackPipeline::WaitForTurn(size_t track) {
    std::unique_lock<std::mutex> lock(m_mutex);
    // Waits for the writer to finish earlier tracks; the writer never waits
    // on this thread for anything but this track's data, which comes later.
    m_decoders.wait(lock, [&] { return m_cancelled || m_failed || track < m_front + m_window; });
    return !m_cancelled && !m_failed;
}

bool TrackPipeline::Push(size_t track, Chunk chunk) {
    if (chunk.empty()) return !IsCancelled();
    std::unique_lock<std::mutex> lock(m_mutex);
    TrackQueue& queue = m_tracks.at(track);
    size_t bytes = chunk.size() * sizeof(int16_t);
    bool spill = false;
    // Waits for the writer to drain the buffer, or to reach this track; the
    // writer drains the front track without waiting on any decoder. A track
    // ahead that has spent its share, or has begun to spill, spills: its
    // later chunks must follow the spilled ones.
    m_decoders.wait(lock, [&] {
        spill = false;
        if (m_cancelled || m_failed) return true;
        if (track == m_front) return queue.bytes == 0 || m_buffered + bytes <= m_budget;
        if (m_spill != nullptr && (queue.spilling || m_buffered + bytes > m_budget / 2)) {
            spill = true;
            return true;
        }
        return m_buffered + bytes <= m_budget / 2;
    });
    if (m_cancelled || m_failed) return false;
    if (!spill) {
        queue.bytes += bytes;
        m_buffered += bytes;
        (queue.spilling ? queue.after : queue.chunks).push_back(std::move(chunk));
        if (track == m_front) m_writer.notify_one();
        return true;
    }
    queue.spilling = true;
    // The disk is not written under the lock: the writer and a Cancel go on.
    // Only this track's decoder appends to its stream, so its chunks reach
    // it in order; the writer counts one only once it is there.
    lock.unlock();
    bool kept = m_spill->Append(track, chunk.data(), chunk.size());
    std::wstring error = kept ? std::wstring() : m_spill->Error();
    lock.lock();
    if (!kept) {
        FailSpill(error);
        return false;
    }
    if (m_cancelled || m_failed) return false;
    queue.spilled.push_back(chunk.size());
    m_spilledBytes += bytes;
    if (track == m_front) m_writer.notify_one();
    return true;
}

void TrackPipeline::Finish(size_t track) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tracks.at(track).finished = true;
    m_writer.notify_one();
}

void TrackPipeline::Fail(size_t track, const std::wstring& error) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_failed) {
        m_failed = true;
        m_failedTrack = track;
        m_error = error;
    }
    m_writer.notify_one();
    m_decoders.notify_all();
}

// Called with the lock held.
void TrackPipeline::FailSpill(const std::wstring& error) {
    if (!m_failed) {
        m_failed = true;
        m_spillFailed = true;
        m_error = error.empty() ? L"The decoded audio could not be kept aside." : error;
    }
    m_writer.notify_one();
    m_decoders.notify_all();
}

bool TrackPipeline::Readable(const TrackQueue& queue) const {
    return !queue.chunks.empty() || !queue.spilled.empty() || !queue.after.empty() ||
           queue.finished;
}

TrackPipeline::Next TrackPipeline::Pop(Chunk& chunk, size_t& track, std::wstring& error) {
    std::unique_lock<std::mutex> lock(m_mutex);
    // Waits for the front track's decoder, which never waits on the writer
    // while its own queue has room.
    m_writer.wait(lock, [&] {
        return m_cancelled || m_failed || m_front >= m_tracks.size() || Readable(m_tracks[m_front]);
    });
    auto failed = [&] {
        if (m_cancelled) return Next::Cancelled;
        track = m_failedTrack;
        error = m_error;
        return m_spillFailed ? Next::SpillFailed : Next::Failed;
    };
    if (m_cancelled || m_failed) return failed();
    if (m_front >= m_tracks.size()) return Next::Done;
    TrackQueue& queue = m_tracks[m_front];
    track = m_front;
    if (queue.chunks.empty() && !queue.spilled.empty()) {
        // Read outside the lock, like the decoder's append: only the writer
        // reads, and only what has been counted.
        size_t count = queue.spilled.front();
        queue.spilled.pop_front();
        lock.unlock();
        chunk.resize(count);
        bool read = m_spill->Read(track, chunk.data(), count);
        std::wstring why = read ? std::wstring() : m_spill->Error();
        lock.lock();
        if (!read) FailSpill(why);
        if (m_cancelled || m_failed) return failed();
        return Next::Chunk;
    }
    std::deque<Chunk>& memory = queue.chunks.empty() ? queue.after : queue.chunks;
    if (!memory.empty()) {
        chunk = std::move(memory.front());
        memory.pop_front();
        size_t bytes = chunk.size() * sizeof(int16_t);
        queue.bytes -= bytes;
        m_buffered -= bytes;
        m_decoders.notify_all();
        return Next::Chunk;
    }
    ++m_front;
    m_decoders.notify_all();
    bool spilled = queue.spilling;
    lock.unlock();
    if (spilled) m_spill->Discard(track);
    return Next::TrackEnd;
}

void TrackPipeline::Cancel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cancelled = true;
    m_writer.notify_all();
    m_decoders.notify_all();
}

bool TrackPipeline::IsCancelled() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_cancelled;
}

double TrackPipeline::Fill() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    double budget = static_cast<double>(m_budget);
    return budget > 0 ? std::min(1.0, static_cast<double>(m_buffered) / budget) : 0.0;
}

uint64_t TrackPipeline::SpilledBytes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_spilledBytes;
}
