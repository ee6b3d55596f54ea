// The contract with the burner engine (DodIvadorO.dll): its records, its event
// handler types and the signatures of its 21 exports (EngineExports.h). The program and the
// engine both compile against this header, so the layout is pinned here once.
#pragma once

#include <cstddef>
#include <cstdint>

#define ENGINE_CALL __stdcall

static_assert(sizeof(wchar_t) == 2, "engine texts are UTF-16");

#pragma pack(push, 1)

// The engine's option record, always exchanged whole. A field still holding its
// "not defined" value (see SetNotDefined) means "keep the engine's own value".
struct BurnOptions {
    char volumeLabel[128];    // ANSI code page, at most 127 bytes and the zero
    int32_t reserved128;      // not used by the program
    uint8_t joliet;           // 0 off, 1 on
    uint8_t reserved133;      // not used by the program
    wchar_t imageFolder[260]; // where the Image Recorder puts its images
    uint8_t finalize;         // 0 off, 1 on
    uint8_t reserved655[3];   // not used by the program
    uint8_t padding658[2];
    int32_t reserved660;    // not used by the program
    uint8_t reserved664;    // not used by the program
    uint8_t ejectAfterBurn; // 0 off, 1 on
    uint8_t padding666[2];
    int32_t reserved668; // not used by the program
};

// One track handed to AddFile, by value.
struct FileEntry {
    const wchar_t* sourcePath;
    const wchar_t* destinationFolder; // always "\"
    int32_t reserved8;                // always 0
    uint8_t reserved12;               // always 0 (false)
    uint8_t padding13[3];
    int32_t reserved16; // always 0
};

// One recorder slot of GetDevices.
struct DeviceEntry {
    wchar_t text[50]; // display text, at most 49 units and the zero
};

#pragma pack(pop)

static_assert(sizeof(BurnOptions) == 672, "BurnOptions is 672 bytes");
static_assert(offsetof(BurnOptions, volumeLabel) == 0);
static_assert(offsetof(BurnOptions, reserved128) == 128);
static_assert(offsetof(BurnOptions, joliet) == 132);
static_assert(offsetof(BurnOptions, reserved133) == 133);
static_assert(offsetof(BurnOptions, imageFolder) == 134);
static_assert(offsetof(BurnOptions, finalize) == 654);
static_assert(offsetof(BurnOptions, reserved655) == 655);
static_assert(offsetof(BurnOptions, padding658) == 658);
static_assert(offsetof(BurnOptions, reserved660) == 660);
static_assert(offsetof(BurnOptions, reserved664) == 664);
static_assert(offsetof(BurnOptions, ejectAfterBurn) == 665);
static_assert(offsetof(BurnOptions, padding666) == 666);
static_assert(offsetof(BurnOptions, reserved668) == 668);

// The records are exchanged with a 32-bit engine: pointers are 4 bytes there.
// A 64-bit build (the tests' build on hosts that run no 32-bit code) pairs a
// 64-bit program with a 64-bit engine and keeps the natural pointer width.
#if !defined(_WIN64)
static_assert(sizeof(FileEntry) == 20, "FileEntry is 20 bytes");
static_assert(offsetof(FileEntry, sourcePath) == 0);
static_assert(offsetof(FileEntry, destinationFolder) == 4);
static_assert(offsetof(FileEntry, reserved8) == 8);
static_assert(offsetof(FileEntry, reserved12) == 12);
static_assert(offsetof(FileEntry, reserved16) == 16);
#endif

static_assert(sizeof(DeviceEntry) == 100, "DeviceEntry is 100 bytes");

constexpr int kDeviceSlots = 26;
constexpr int32_t kTextCapacity = 2048;

// The "not defined" text of the option record's text fields.
constexpr char kNotDefinedText[] = "BS_NDEF";

// Puts every field of the record in its "not defined" state.
void SetNotDefined(BurnOptions& options);

// True when a text field of the record still holds the "not defined" text.
bool IsNotDefined(const char* text);
bool IsNotDefined(const wchar_t* text);

// A recorder's device value: its text's first two UTF-16 units, the first in
// the low 16 bits.
uint32_t DeviceValueOf(const wchar_t* recorderText);

// Event handlers, all __stdcall; the last argument is the context given to the
// setter. A bare width marks an argument the program does not read.
using FinalizeEventHandler = void(ENGINE_CALL*)(void* context);
using BurnDoneEventHandler = void(ENGINE_CALL*)(const char* errorText, void* context);
using ProcessEventHandler = void(ENGINE_CALL*)(float percent, uint32_t, float bufferFill,
                                               double bytesWritten, uint64_t, void* context);
using AudioDecoderEventHandler = void(ENGINE_CALL*)(float percent, uint64_t, void* context);
using AudioDecodeDoneEventHandler = void(ENGINE_CALL*)(const char* fileName, uint32_t,
                                                       int32_t error, void* context);

// The 21 exports' function types: InitializeFn, CreateProjectFn, ...
#include "engine/EngineExports.h"
#define ENGINE_FUNCTION_TYPE(Name, Result, Parameters)                                             \
    using Name##Fn = Result(ENGINE_CALL*) Parameters;
ENGINE_EXPORTS(ENGINE_FUNCTION_TYPE)
#undef ENGINE_FUNCTION_TYPE
