#include "burner/run/HandlerEvents.h"

void HandlerEvents::Finalize() {
    if (m_handlers.finalize != nullptr) m_handlers.finalize(m_handlers.finalizeContext);
}

void HandlerEvents::BurnDone(const char* errorText) {
    if (m_handlers.burnDone != nullptr) m_handlers.burnDone(errorText, m_handlers.burnDoneContext);
}

void HandlerEvents::Process(float percent, uint32_t track, float bufferFill, double bytesWritten,
                            uint64_t totalBytes) {
    if (m_handlers.process != nullptr)
        m_handlers.process(percent, track, bufferFill, bytesWritten, totalBytes,
                           m_handlers.processContext);
}

void HandlerEvents::AudioDecoder(float percent, uint64_t track) {
    if (m_handlers.audioDecoder != nullptr)
        m_handlers.audioDecoder(percent, track, m_handlers.audioDecoderContext);
}

void HandlerEvents::AudioDecodeDone(const char* fileName, uint32_t track, int32_t error) {
    if (m_handlers.audioDecodeDone != nullptr)
        m_handlers.audioDecodeDone(fileName, track, error, m_handlers.audioDecodeDoneContext);
}
