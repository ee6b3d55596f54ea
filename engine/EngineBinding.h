// Run-time binding of the burner engine: every export resolved by name from
// DodIvadorO.dll in the program's own folder. A missing file or export leaves
// the binding empty, which the dialog treats like an engine that refuses to
// start. Tests fill an EngineApi with functions of their own instead.
#pragma once

#include "engine/EngineRecords.h"
#include "base/Handles.h"

#include <string>

struct EngineApi {
    InitializeFn Initialize = nullptr;
    CreateProjectFn CreateProject = nullptr;
    GetOptionsFn GetOptions = nullptr;
    SetOptionsFn SetOptions = nullptr;
    GetDevicesFn GetDevices = nullptr;
    SetDeviceFn SetDevice = nullptr;
    AddFileFn AddFile = nullptr;
    PrepareFn Prepare = nullptr;
    BurnFn Burn = nullptr;
    AbortFn Abort = nullptr;
    AudioFileStopFn AudioFileStop = nullptr;
    BurnDialogFn BurnDialog = nullptr;
    EraseDialogFn EraseDialog = nullptr;
    PlayAudioFileFn PlayAudioFile = nullptr;
    GetPlayTimeFn GetPlayTime = nullptr;
    GetTextFn GetText = nullptr;
    SetFinalizeEventCallbackFn SetFinalizeEventCallback = nullptr;
    SetBurnDoneEventCallbackFn SetBurnDoneEventCallback = nullptr;
    SetProcessEventCallbackFn SetProcessEventCallback = nullptr;
    SetAudioDecoderEventCallbackFn SetAudioDecoderEventCallback = nullptr;
    SetAudioDecodeDoneEventCallbackFn SetAudioDecodeDoneEventCallback = nullptr;

    // True when all 21 operations are present.
    bool IsComplete() const;
};

constexpr wchar_t kEngineFileName[] = L"DodIvadorO.dll";

class EngineLibrary {
public:
    // Loads the engine from the given full path (dependencies from its own
    // folder and System32 only) and resolves all 21 exports by name. On any
    // failure the api stays empty and Missing() says what was missing.
    bool Load(const std::wstring& dllPath);

    // The engine next to the running program.
    bool LoadFromProgramFolder();

    const EngineApi& Api() const { return m_api; }
    const std::wstring& Missing() const { return m_missing; }

private:
    UniqueModule m_module;
    EngineApi m_api;
    std::wstring m_missing;
};

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();
