// The real engine bound through the real binding, with handlers that record
// every event. The folders come from the environment: QUILLOTUNE_BURN_MEDIA
// holds the audio files make-media.sh made, QUILLOTUNE_BURN_IMAGES the
// images the tests write.
#pragma once

#include "engine/EngineBinding.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

struct RecordedEvent {
    enum Kind { Finalize, BurnDone, Process, Decoder, DecodeDone } kind;
    float percent = 0;
    float bufferFill = 0;
    double bytesWritten = 0;
    bool nullText = false;
    std::string text;
    int32_t error = 0;
    DWORD thread = 0;
    ULONGLONG ms = 0; // when it arrived
};

// Replaces a function that a module imports, for as long as it lives, so
// that a test can make the faults a disk or a sound card rarely shows. A
// function the module does not import fails the test, unless optional.
class ImportPatch {
public:
    enum Need { Required, Optional };
    template <class Function>
    ImportPatch(HMODULE module, const char* function, Function* replacement, Need need = Required)
        : ImportPatch(module, function, reinterpret_cast<const void*>(replacement), need) {}
    ImportPatch(HMODULE module, const char* function, const void* replacement, Need need);
    ImportPatch(const ImportPatch&) = delete;
    ~ImportPatch() { Write(m_original); }

private:
    void Write(const void* value);
    const void** m_slot = nullptr;
    const void* m_original = nullptr;
};

// Adds an event to the log, for handlers of a test's own.
void RecordEvent(RecordedEvent event);

std::wstring Media(const std::wstring& name);
// An empty folder under the images folder.
std::wstring FreshFolder(const std::wstring& name);
std::vector<std::wstring> FilesIn(const std::wstring& folder); // sorted
std::string ReadAll(const std::wstring& path);
std::string Narrow(const std::wstring& text);
inline HMODULE EngineModule() {
    return GetModuleHandleW(kEngineFileName);
}

// The engine, loaded before anything a derived fixture builds.
class BurnEngine : public testing::Test {
protected:
    BurnEngine() { m_library.Load(ProgramFolder() + kEngineFileName); }
    void SetUp() override;
    void TearDown() override;
    const EngineApi& Api() const { return m_library.Api(); }

    void SetImageOptions(const std::string& label, const std::wstring& folder, int eject = 0);
    void Add(const std::wstring& path);
    // Prepares (unless done) and burns what was added: the burn-done text,
    // "" on success.
    std::string BurnToTheEnd(bool prepare = true);
    std::wstring TextOf(int32_t code);

    // The events so far, all or those of one kind.
    static std::vector<RecordedEvent> Events(int kind = -1);
    static bool WaitFor(RecordedEvent::Kind kind, int seconds = 120);
    static void ClearEvents();

    EngineLibrary m_library;
};
