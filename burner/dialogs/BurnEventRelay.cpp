#include "burner/dialogs/BurnEventRelay.h"

BurnEventRelay::BurnEventRelay(HWND dialog, const EventHandlers& program)
    : m_dialog(dialog), m_program(program) {}

EventHandlers BurnEventRelay::Handlers() {
    EventHandlers handlers;
    handlers.finalize = &OnFinalize;
    handlers.finalizeContext = this;
    handlers.burnDone = &OnBurnDone;
    handlers.burnDoneContext = this;
    handlers.process = &OnProcess;
    handlers.processContext = this;
    handlers.audioDecoder = &OnAudioDecoder;
    handlers.audioDecoderContext = this;
    handlers.audioDecodeDone = &OnAudioDecodeDone;
    handlers.audioDecodeDoneContext = this;
    return handlers;
}

BurnEventRelay::Progress BurnEventRelay::TakeProgress() {
    m_progressPosted = false;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_progress;
}

std::string BurnEventRelay::BurnDoneText() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_burnDoneText;
}

void ENGINE_CALL BurnEventRelay::OnFinalize(void* context) {
    auto* relay = static_cast<BurnEventRelay*>(context);
    if (relay->m_program.finalize) relay->m_program.finalize(relay->m_program.finalizeContext);
    PostMessageW(relay->m_dialog, kFinalize, 0, 0);
}

void ENGINE_CALL BurnEventRelay::OnBurnDone(const char* errorText, void* context) {
    auto* relay = static_cast<BurnEventRelay*>(context);
    {
        std::lock_guard<std::mutex> lock(relay->m_mutex);
        relay->m_burnDoneText = errorText != nullptr ? errorText : "";
    }
    if (relay->m_program.burnDone)
        relay->m_program.burnDone(errorText, relay->m_program.burnDoneContext);
    PostMessageW(relay->m_dialog, kBurnDone, 0, 0);
}

void ENGINE_CALL BurnEventRelay::OnProcess(float percent, uint32_t track, float bufferFill,
                                           double bytesWritten, uint64_t totalBytes,
                                           void* context) {
    auto* relay = static_cast<BurnEventRelay*>(context);
    if (relay->m_program.process)
        relay->m_program.process(percent, track, bufferFill, bytesWritten, totalBytes,
                                 relay->m_program.processContext);
    {
        std::lock_guard<std::mutex> lock(relay->m_mutex);
        relay->m_progress = Progress{percent, track};
    }
    // One message on its way is enough: it reads the latest progress.
    if (!relay->m_progressPosted.exchange(true)) PostMessageW(relay->m_dialog, kProgress, 0, 0);
}

void ENGINE_CALL BurnEventRelay::OnAudioDecoder(float percent, uint64_t track, void* context) {
    auto* relay = static_cast<BurnEventRelay*>(context);
    if (relay->m_program.audioDecoder)
        relay->m_program.audioDecoder(percent, track, relay->m_program.audioDecoderContext);
}

void ENGINE_CALL BurnEventRelay::OnAudioDecodeDone(const char* fileName, uint32_t track,
                                                   int32_t error, void* context) {
    auto* relay = static_cast<BurnEventRelay*>(context);
    if (relay->m_program.audioDecodeDone)
        relay->m_program.audioDecodeDone(fileName, track, error,
                                         relay->m_program.audioDecodeDoneContext);
}
