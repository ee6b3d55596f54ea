// A run's events raised through the handlers the program installed; an
// event without a handler goes nowhere.
#pragma once

#include "burner/EngineState.h"
#include "burner/core/run/EventGate.h"

#include <memory>

class HandlerEvents : public BurnEvents {
public:
    explicit HandlerEvents(const EventHandlers& handlers) : m_handlers(handlers) {}
    static std::unique_ptr<BurnEvents> Of(const EventHandlers& handlers) {
        return std::make_unique<HandlerEvents>(handlers);
    }

    void Finalize() override;
    void BurnDone(const char* errorText) override;
    void Process(float percent, uint32_t track, float bufferFill, double bytesWritten,
                 uint64_t totalBytes) override;
    void AudioDecoder(float percent, uint64_t track) override;
    void AudioDecodeDone(const char* fileName, uint32_t track, int32_t error) override;

private:
    EventHandlers m_handlers;
};
