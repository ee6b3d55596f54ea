#include "burner/core/run/EventGate.h"

void EventGate::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state == State::Open) m_state = State::Closed;
}

bool EventGate::IsClosed() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state == State::Closed;
}

bool EventGate::ClaimEnd() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state != State::Open) return false;
    m_state = State::Ending;
    return true;
}

bool EventGate::Open() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state == State::Open;
}

void EventGate::Finalize() {
    if (Open()) m_events->Finalize();
}

void EventGate::BurnDone(const char* errorText) {
    if (!IsClosed()) m_events->BurnDone(errorText);
}

void EventGate::Process(float percent, uint32_t track, float bufferFill, double bytesWritten,
                        uint64_t totalBytes) {
    if (Open()) m_events->Process(percent, track, bufferFill, bytesWritten, totalBytes);
}

void EventGate::AudioDecoder(float percent, uint64_t track) {
    if (Open()) m_events->AudioDecoder(percent, track);
}

void EventGate::AudioDecodeDone(const char* fileName, uint32_t track, int32_t error) {
    if (Open()) m_events->AudioDecodeDone(fileName, track, error);
}
