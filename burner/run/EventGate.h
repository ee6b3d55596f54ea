// Raises a run's events through the program's handlers until the gate is
// closed. Close() returns at once and never waits for a handler (a handler
// may be waiting for the thread that closes the gate); an event that had
// already passed the gate when it closed still arrives, none starts after.
// The run's end is decided in one step: either the run claims it first, and
// its burn-done event still arrives after a Close(), or Close() comes first
// and the claim fails.
#pragma once

#include "burner/EngineState.h"

#include <cstdint>
#include <mutex>

class EventGate {
public:
    explicit EventGate(const EventHandlers& handlers) : m_handlers(handlers) {}

    void Close();
    bool IsClosed() const;
    // True when the gate was still open: from now on only BurnDone passes,
    // whether Close() comes or not.
    bool ClaimEnd();

    void Finalize();
    void BurnDone(const char* errorText);
    void Process(float percent, uint32_t track, float bufferFill, double bytesWritten,
                 uint64_t totalBytes);
    void AudioDecoder(float percent, uint64_t track);
    void AudioDecodeDone(const char* fileName, uint32_t track, int32_t error);

private:
    bool Open() const;

    EventHandlers m_handlers;
    enum class State { Open, Ending, Closed };
    mutable std::mutex m_mutex; // guards m_state only; never held inside a handler
    State m_state = State::Open;
};
