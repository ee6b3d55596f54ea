// The engine's 21 exports, listed once as X(Name, Result, Parameters). The
// contract's function types (NameFn), the program's binding, the engine's own
// definitions and the tests' scripted engine all expand this list, so adding
// or checking an export is one line here (and one in DodIvadorO.def).
// Included by EngineRecords.h, after the records and handler types it names.
#pragma once

// clang-format off
#define ENGINE_EXPORTS(X)                                                                          \
    X(Initialize, int32_t, (int32_t one))                                                          \
    X(CreateProject, int32_t, (int32_t zero))                                                      \
    X(GetOptions, int32_t, (BurnOptions* options))                                                 \
    X(SetOptions, int32_t, (BurnOptions options))                                                  \
    X(GetDevices, int32_t, (DeviceEntry* slots, int32_t* count, int32_t one))                      \
    X(SetDevice, int32_t, (uint32_t device))                                                       \
    X(AddFile, int32_t, (FileEntry entry))                                                         \
    X(Prepare, int32_t, ())                                                                        \
    X(Burn, int32_t, ())                                                                           \
    X(Abort, int32_t, ())                                                                          \
    X(AudioFileStop, int32_t, ())                                                                  \
    X(BurnDialog, int32_t, (int32_t, int32_t, int32_t, const wchar_t* caption,                     \
                            const wchar_t* text))                                                  \
    X(EraseDialog, int32_t, (const wchar_t* caption))                                              \
    X(PlayAudioFile, int32_t, (const wchar_t* path))                                               \
    X(GetPlayTime, int32_t, (const wchar_t* path, int32_t* seconds))                               \
    X(GetText, int32_t, (int32_t code, wchar_t* buffer, int32_t* capacity))                        \
    X(SetFinalizeEventCallback, void, (FinalizeEventHandler handler, void* context))               \
    X(SetBurnDoneEventCallback, void, (BurnDoneEventHandler handler, void* context))               \
    X(SetProcessEventCallback, void, (ProcessEventHandler handler, void* context))                 \
    X(SetAudioDecoderEventCallback, void, (AudioDecoderEventHandler handler, void* context))       \
    X(SetAudioDecodeDoneEventCallback, void, (AudioDecodeDoneEventHandler handler, void* context))
// clang-format on
