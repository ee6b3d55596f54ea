#include "burner/core/run/TrackPipeline.h"

#include <algorithm>
#include <utility>

TrackPipeline::TrackPipeline(size_t trackCount, size_t budgetBytes, size_t window)
    : m_tracks(trackCount), m_budget(budgetBytes), m_window(std::max<size_t>(window, 1)) {}

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
    // Waits for the writer to drain the buffer, or to reach this track; the
    // writer drains the front track without waiting on any decoder.
    m_decoders.wait(lock, [&] {
        if (m_cancelled || m_failed) return true;
        if (track == m_front) return queue.bytes == 0 || m_buffered + bytes <= m_budget;
        return m_buffered + bytes <= m_budget / 2;
    });
    if (m_cancelled || m_failed) return false;
    queue.bytes += bytes;
    m_buffered += bytes;
    queue.chunks.push_back(std::move(chunk));
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

TrackPipeline::Next TrackPipeline::Pop(Chunk& chunk, size_t& track, std::wstring& error) {
    std::unique_lock<std::mutex> lock(m_mutex);
    // Waits for the front track's decoder, which never waits on the writer
    // while its own queue has room.
    m_writer.wait(lock, [&] {
        if (m_cancelled || m_failed || m_front >= m_tracks.size()) return true;
        const TrackQueue& queue = m_tracks[m_front];
        return !queue.chunks.empty() || queue.finished;
    });
    if (m_cancelled) return Next::Cancelled;
    if (m_failed) {
        track = m_failedTrack;
        error = m_error;
        return Next::Failed;
    }
    if (m_front >= m_tracks.size()) return Next::Done;
    TrackQueue& queue = m_tracks[m_front];
    track = m_front;
    if (!queue.chunks.empty()) {
        chunk = std::move(queue.chunks.front());
        queue.chunks.pop_front();
        size_t bytes = chunk.size() * sizeof(int16_t);
        queue.bytes -= bytes;
        m_buffered -= bytes;
        m_decoders.notify_all();
        return Next::Chunk;
    }
    ++m_front;
    m_decoders.notify_all();
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
