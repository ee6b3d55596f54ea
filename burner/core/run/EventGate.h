// Raises a run's events through the program's handlers until the gate is
// closed. Close() returns at once and never waits for a handler (a handler
// may be waiting for the thread that closes the gate); an event that had
// already passed the gate when it closed still arrives, none starts after.
// The run's end is decided in one step: either the run claims it first, and
// its burn-done event still arrives after a Close(), or Close() comes first
// and the claim fails.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

// Where a run's events go: the program's handlers in the engine, a recorder
// in the tests. Texts are in the ANSI code page.
class BurnEvents {
public:
    virtual ~BurnEvents() = default;
    virtual void Finalize() = 0;
    virtual void BurnDone(const char* errorText) = 0;
    virtual void Process(float percent, uint32_t track, float bufferFill, double bytesWritten,
                         uint64_t totalBytes) = 0;
    virtual void AudioDecoder(float percent, uint64_t track) = 0;
    virtual void AudioDecodeDone(const char* fileName, uint32_t track, int32_t error) = 0;
};

class EventGate {
public:
    explicit EventGate(std::unique_ptr<BurnEvents> events) : m_events(std::move(events)) {}

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

    std::unique_ptr<BurnEvents> m_events;
    enum class State { Open, Ending, Closed };
    mutable std::mutex m_mutex; // guards m_state only; never held inside a handler
    State m_state = State::Open;
};
