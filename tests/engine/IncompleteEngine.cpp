// An engine that has every export but GetText.
#include "engine/EngineRecords.h"

extern "C" {
int32_t ENGINE_CALL Initialize(int32_t) { return 0; }
int32_t ENGINE_CALL CreateProject(int32_t) { return 0; }
int32_t ENGINE_CALL GetOptions(BurnOptions*) { return 0; }
int32_t ENGINE_CALL SetOptions(BurnOptions) { return 0; }
int32_t ENGINE_CALL GetDevices(DeviceEntry*, int32_t* count, int32_t) { *count = 0; return 0; }
int32_t ENGINE_CALL SetDevice(uint32_t) { return 0; }
int32_t ENGINE_CALL AddFile(FileEntry) { return 0; }
int32_t ENGINE_CALL Prepare() { return 0; }
int32_t ENGINE_CALL Burn() { return 0; }
int32_t ENGINE_CALL Abort() { return 0; }
int32_t ENGINE_CALL AudioFileStop() { return 0; }
int32_t ENGINE_CALL BurnDialog(int32_t, int32_t, int32_t, const wchar_t*, const wchar_t*) { return 0; }
int32_t ENGINE_CALL EraseDialog(const wchar_t*) { return 0; }
int32_t ENGINE_CALL PlayAudioFile(const wchar_t*) { return 0; }
int32_t ENGINE_CALL GetPlayTime(const wchar_t*, int32_t*) { return 0; }
void ENGINE_CALL SetFinalizeEventCallback(FinalizeEventHandler, void*) {}
void ENGINE_CALL SetBurnDoneEventCallback(BurnDoneEventHandler, void*) {}
void ENGINE_CALL SetProcessEventCallback(ProcessEventHandler, void*) {}
void ENGINE_CALL SetAudioDecoderEventCallback(AudioDecoderEventHandler, void*) {}
void ENGINE_CALL SetAudioDecodeDoneEventCallback(AudioDecodeDoneEventHandler, void*) {}
}
