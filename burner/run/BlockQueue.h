// A bounded queue between two threads, by bytes: Push waits while the
// queue holds its budget (an item always fits an empty queue), Pop waits
// for an item. Cancel releases both sides for good.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

template <class T>
class BlockQueue {
public:
    explicit BlockQueue(size_t budgetBytes) : m_budget(budgetBytes) {}

    // False once cancelled.
    bool Push(T item, size_t bytes) {
        std::unique_lock<std::mutex> lock(m_mutex);
        // Waits for the consumer to take items; it never waits on the producer
        // while the queue holds any.
        m_room.wait(lock, [&] { return m_cancelled || m_bytes == 0 || m_bytes + bytes <= m_budget; });
        if (m_cancelled) return false;
        m_items.emplace_back(std::move(item), bytes);
        m_bytes += bytes;
        m_ready.notify_one();
        return true;
    }

    // False once cancelled.
    bool Pop(T& item) {
        std::unique_lock<std::mutex> lock(m_mutex);
        // Waits for the producer, which only ever waits for room.
        m_ready.wait(lock, [&] { return m_cancelled || !m_items.empty(); });
        if (m_cancelled) return false;
        item = std::move(m_items.front().first);
        m_bytes -= m_items.front().second;
        m_items.pop_front();
        m_room.notify_one();
        return true;
    }

    void Cancel() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
        m_items.clear();
        m_bytes = 0;
        m_ready.notify_all();
        m_room.notify_all();
    }

    size_t Bytes() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bytes;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_room;
    std::deque<std::pair<T, size_t>> m_items;
    size_t m_budget;
    size_t m_bytes = 0;
    bool m_cancelled = false;
};
