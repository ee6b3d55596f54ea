// The real engine bound through the real binding, with handlers that record
// every event, and the folders the burn tests work in (given by the
// environment: QUILLOTUNE_BURN_MEDIA holds the audio files the fixture
// script made, QUILLOTUNE_BURN_IMAGES the images the tests write).
#pragma once

#include "engine/EngineBinding.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
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
    uint32_t thread = 0;
    double seconds = 0; // since the log started
};

class EventLog {
public:
    EventLog();
    void Install(const EngineApi& api);

    std::vector<RecordedEvent> Events() const;
    // Waits for the burn-done event; false after the time given.
    bool WaitForBurnDone(int seconds);
    bool WaitForProcess(int seconds);
    size_t Count() const;
    void Clear();

private:
    void Add(RecordedEvent event);
    static void ENGINE_CALL OnFinalize(void* context);
    static void ENGINE_CALL OnBurnDone(const char* text, void* context);
    static void ENGINE_CALL OnProcess(float percent, uint32_t, float fill, double bytes, uint64_t,
                                      void* context);
    static void ENGINE_CALL OnDecoder(float percent, uint64_t, void* context);
    static void ENGINE_CALL OnDecodeDone(const char* name, uint32_t, int32_t error, void* context);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<RecordedEvent> m_events;
    long long m_start = 0;
    long long m_frequency = 1;
};

class BurnEngine : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    const EngineApi& Api() const { return m_library.Api(); }

    // The options with this label and folder, eject off.
    void SetImageOptions(const std::string& label, const std::wstring& folder);
    void Add(const std::wstring& path);
    std::wstring TextOf(int32_t code);

    static std::wstring Media(const std::wstring& name);
    // An empty folder under the images folder.
    static std::wstring FreshFolder(const std::wstring& name);
    static std::vector<std::wstring> FilesIn(const std::wstring& folder);
    static std::string Narrow(const std::wstring& text);
    static std::wstring Environment(const wchar_t* name);

    EngineLibrary m_library;
    EventLog m_log;
};
