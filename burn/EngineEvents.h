// The engine's five event handlers. The context they are installed with is
// the key of an EventTarget; an event for a dialog that has ended, or for an
// unknown context, does nothing.
#pragma once

#include "engine/EngineBinding.h"

void ENGINE_CALL OnFinalizeEvent(void* context);
void ENGINE_CALL OnBurnDoneEvent(const char* errorText, void* context);
void ENGINE_CALL OnProcessEvent(float percent, uint32_t, float bufferFill, double bytesWritten,
                                uint64_t, void* context);
void ENGINE_CALL OnAudioDecoderEvent(float percent, uint64_t, void* context);
void ENGINE_CALL OnAudioDecodeDoneEvent(const char* fileName, uint32_t, int32_t error,
                                        void* context);

// Hands the engine the five handlers, each with `context`.
void InstallEventHandlers(const EngineApi& engine, void* context);
