// The faults a run meets on a user's machine, made where that machine makes
// them: at the calls the engine, and the platform's decoders below it, make
// to the system. Each fault is made once, at the first call of its stage.
#pragma once

#include "tests/burn-engine/EngineHarness.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class Fault {
    DiskFull,   // a write, flush or rename fails as on a full disk
    Vanishes,   // the source is deleted as the engine comes to open it
    Unreadable, // reads of the source's second half fail, as on a bad sector
    Damaged,    // the source's second half is garbage (cut off, for a WAV)
    Abort,      // the user stops the run (the injector's action)
    Action,     // something of the test's own (the injector's action)
};

enum class Stage {
    Probe,       // inside Prepare, as it checks the sources
    Decode,      // as the run opens the track's source
    Write,       // at the first image write while the track is written
    FlushImage,  // the BIN's flush to the disk
    FlushCue,    // the CUE sheet's
    RenameImage, // the BIN taking its name
    RenameCue,   // the CUE sheet taking its name
    Finalized,   // at the finalize event (the CUE sheet's write comes after it)
    Spill,       // at the first write of audio decoded ahead and kept aside
};

struct FaultCase {
    Fault fault;
    Stage stage;
    int track = 0; // 1-3: the source (Probe, Decode) or the track being written
};
std::string NameOf(const FaultCase& fault);

enum class Phase { Idle, Preparing, Burning }; // where the test has brought the engine

class FaultInjector {
public:
    FaultInjector(); // patches the imports for as long as it lives; one at a time
    ~FaultInjector();

    // Arms one fault for a run over these sources (full paths, track order).
    void Arm(const FaultCase& fault, const std::vector<std::wstring>& sources);
    void Disarm();
    void SetPhase(Phase phase);
    void SetAction(std::function<void()> action);
    // The engine may create no file in this folder ("": anywhere), as if its
    // rights said so: the tests run with rights a read-only folder would not stop.
    void DenyWritesIn(const std::wstring& folder);
    bool Fired() const;

    // From the test's event handlers.
    void TrackWritten();
    void Finalized();

private:
    std::vector<std::unique_ptr<ImportPatch>> m_patches;
};

// True once done() is, false when the seconds have passed first.
template <class Done> bool Eventually(Done done, int seconds = 5) {
    for (ULONGLONG end = GetTickCount64() + seconds * 1000; GetTickCount64() < end; Sleep(20))
        if (done()) return true;
    return done();
}

// The harness's engine with the faults patched in, and handlers that tell
// the injector how far a run has come.
class FaultyEngine : public BurnEngine {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the compilation (one.wav, two.mp3, three.ogg, under these names
    // if given) into the folder; full paths in track order.
    std::vector<std::wstring> CopySources(const std::wstring& folder,
                                          const std::vector<std::wstring>& names = {});
    // Prepares and burns as the injector follows: the burn-done text ("" on
    // success), "Prepare: " or "Burn: " and the engine's text, or "stopped"
    // when an Abort came.
    std::string Run();
    // Deletes the folder and its files; false while one is still open.
    static bool RemoveFolder(const std::wstring& folder);
    // The engine is ready again: a run of one short file succeeds.
    void ExpectTheNextRunSucceeds();

    FaultInjector m_faults;
    std::atomic<size_t> m_eventsAtAbort{0};
    std::atomic<bool> m_aborted{false};
};
