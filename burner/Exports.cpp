// The engine's 21 exports. Every export returns a code and never lets an
// exception cross the boundary.
#include "burner/core/EngineErrors.h"
#include "burner/core/ExportGuard.h"
#include "burner/EngineState.h"
#include "burner/dialogs/EngineBurnDialog.h"
#include "burner/dialogs/EngineEraseDialog.h"
#include "burner/preview/PreviewPlayer.h"
#include "burner/run/BurnController.h"
#include "burner/playtime/PlayTime.h"
#include "engine/EngineRecords.h"

#include <windows.h>

#include <cwchar>
#include <exception>
#include <type_traits>

namespace {

// A handler setter has no result to tell a failure by: the handler then
// stays as it was.
template <class Change> void ChangeHandlers(Change change) noexcept {
    Guarded([&] { EngineState::Instance().ChangeHandlers(change); });
}

} // namespace

extern "C" {

// Every definition below must match its line in the list.
#define ENGINE_DECLARE_EXPORT(Name, Result, Parameters) Result ENGINE_CALL Name Parameters;
ENGINE_EXPORTS(ENGINE_DECLARE_EXPORT)
#undef ENGINE_DECLARE_EXPORT

int32_t ENGINE_CALL Initialize(int32_t) {
    return Guarded([] { return EngineState::Instance().Initialize(); });
}

int32_t ENGINE_CALL CreateProject(int32_t) {
    return Guarded([] { return EngineState::Instance().CreateProject(); });
}

int32_t ENGINE_CALL GetOptions(BurnOptions* options) {
    return Guarded([options] {
        if (options == nullptr) return ToCode(EngineError::InvalidArgument);
        return EngineState::Instance().GetOptions(*options);
    });
}

int32_t ENGINE_CALL SetOptions(BurnOptions options) {
    return Guarded([&options] { return EngineState::Instance().SetOptions(options); });
}

int32_t ENGINE_CALL GetDevices(DeviceEntry* slots, int32_t* count, int32_t) {
    return Guarded([slots, count] { return EngineState::Instance().GetDevices(slots, count); });
}

int32_t ENGINE_CALL SetDevice(uint32_t device) {
    return Guarded([device] { return EngineState::Instance().SetDevice(device); });
}

int32_t ENGINE_CALL AddFile(FileEntry entry) {
    return Guarded([&entry] { return EngineState::Instance().AddFile(entry); });
}

int32_t ENGINE_CALL Prepare() {
    return Guarded([] { return BurnController::Instance().Prepare(); });
}

int32_t ENGINE_CALL Burn() {
    return Guarded([] { return BurnController::Instance().Burn(); });
}

int32_t ENGINE_CALL Abort() {
    return Guarded([] { return BurnController::Instance().Abort(); });
}

int32_t ENGINE_CALL AudioFileStop() {
    return Guarded([] {
        PreviewPlayer::Instance().Stop();
        return ToCode(EngineError::Ok);
    });
}

// The first three numbers ask for nothing this engine offers; they are not read.
int32_t ENGINE_CALL BurnDialog(int32_t, int32_t, int32_t, const wchar_t* caption,
                               const wchar_t* text) {
    return Guarded([caption, text] {
        if (!EngineState::Instance().IsInitialized()) return ToCode(EngineError::NotInitialized);
        return EngineBurnDialog(text != nullptr ? text : L"").Run(caption);
    });
}

int32_t ENGINE_CALL EraseDialog(const wchar_t* caption) {
    return Guarded([caption] {
        if (!EngineState::Instance().IsInitialized()) return ToCode(EngineError::NotInitialized);
        return EngineEraseDialog().Run(caption);
    });
}

int32_t ENGINE_CALL PlayAudioFile(const wchar_t* path) {
    return Guarded([path] {
        PreviewPlayer::Instance().Stop();
        if (path == nullptr || path[0] == L'\0') return ToCode(EngineError::InvalidArgument);
        PreviewPlayer::Instance().Play(path);
        return ToCode(EngineError::Ok);
    });
}

int32_t ENGINE_CALL GetPlayTime(const wchar_t* path, int32_t* seconds) {
    return Guarded([path, seconds] { return MeasurePlayTime(path, seconds); });
}

int32_t ENGINE_CALL GetText(int32_t code, wchar_t* buffer, int32_t* capacity) {
    return Guarded([code, buffer, capacity] {
        if (buffer == nullptr || capacity == nullptr || *capacity <= 0)
            return ToCode(EngineError::InvalidArgument);
        std::wstring text = EngineErrorText(code);
        size_t room = static_cast<size_t>(*capacity) - 1;
        size_t length = text.size() < room ? text.size() : room;
        std::wmemcpy(buffer, text.data(), length);
        buffer[length] = L'\0';
        *capacity = static_cast<int32_t>(text.size() + 1);
        return ToCode(EngineError::Ok);
    });
}

void ENGINE_CALL SetFinalizeEventCallback(FinalizeEventHandler handler, void* context) {
    ChangeHandlers([=](EventHandlers& h) {
        h.finalize = handler;
        h.finalizeContext = context;
    });
}

void ENGINE_CALL SetBurnDoneEventCallback(BurnDoneEventHandler handler, void* context) {
    ChangeHandlers([=](EventHandlers& h) {
        h.burnDone = handler;
        h.burnDoneContext = context;
    });
}

void ENGINE_CALL SetProcessEventCallback(ProcessEventHandler handler, void* context) {
    ChangeHandlers([=](EventHandlers& h) {
        h.process = handler;
        h.processContext = context;
    });
}

void ENGINE_CALL SetAudioDecoderEventCallback(AudioDecoderEventHandler handler, void* context) {
    ChangeHandlers([=](EventHandlers& h) {
        h.audioDecoder = handler;
        h.audioDecoderContext = context;
    });
}

void ENGINE_CALL SetAudioDecodeDoneEventCallback(AudioDecodeDoneEventHandler handler,
                                                 void* context) {
    ChangeHandlers([=](EventHandlers& h) {
        h.audioDecodeDone = handler;
        h.audioDecodeDoneContext = context;
    });
}

} // extern "C"

#define ENGINE_CHECK_EXPORT(Name, Result, Parameters)                                              \
    static_assert(std::is_same_v<decltype(&Name), Name##Fn>, #Name " differs from the contract");
ENGINE_EXPORTS(ENGINE_CHECK_EXPORT)
#undef ENGINE_CHECK_EXPORT
