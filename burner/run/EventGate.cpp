#include "burner/run/EventGate.h"

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
    if (m_handlers.finalize != nullptr && Open()) m_handlers.finalize(m_handlers.finalizeContext);
}

void EventGate::BurnDone(const char* errorText) {
    if (m_handlers.burnDone != nullptr && !IsClosed())
        m_handlers.burnDone(errorText, m_handlers.burnDoneContext);
}

void EventGate::Process(float percent, uint32_t track, float bufferFill, double bytesWritten,
                        uint64_t totalBytes) {
    if (m_handlers.process != nullptr && Open())
        m_handlers.process(percent, track, bufferFill, bytesWritten, totalBytes,
                           m_handlers.processContext);
}

void EventGate::AudioDecoder(float percent, uint64_t track) {
    if (m_handlers.audioDecoder != nullptr && Open())
        m_handlers.audioDecoder(percent, track, m_handlers.audioDecoderContext);
}

void EventGate::AudioDecodeDone(const char* fileName, uint32_t track, int32_t error) {
    if (m_handlers.audioDecodeDone != nullptr && Open())
        m_handlers.audioDecodeDone(fileName, track, error, m_handlers.audioDecodeDoneContext);
}
