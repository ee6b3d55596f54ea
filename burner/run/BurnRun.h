// One burn to the Image Recorder, on a thread of its own. Two decoding
// threads turn tracks into disc audio (the next track decodes while the
// current one is written, into a temporary file beside the image once it
// has filled its share of memory); the run's thread writes them into the image and
// raises the events. The run keeps itself alive until its thread ends, and
// keeps the engine's module loaded as long.
#pragma once

#include "burner/EngineState.h"
#include "burner/run/BurnPlan.h"
#include "burner/run/SpillFiles.h"
#include "burner/core/run/EventGate.h"
#include "burner/core/run/TrackPipeline.h"
#include "base/Handles.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class ImageFiles;
class ImageWriter;

class BurnRun : public std::enable_shared_from_this<BurnRun> {
public:
    // ended is called on the run's thread just before its burn-done event.
    BurnRun(BurnPlan plan, const EventHandlers& handlers, std::function<void(BurnRun*)> ended);
    ~BurnRun();

    // Creates the temporary image and starts the thread; on failure returns
    // a code whose text says why, and nothing is left behind.
    int32_t Start();
    // Called on the run's thread once it has raised its last event and its
    // files are complete or removed, however the run ended. Set before Start.
    void WhenFinished(std::function<void()> finished) { m_finished = std::move(finished); }

    // Stops the run: no event starts after this returns, and the thread
    // removes its files and ends within moments. Never waits.
    void Cancel();

private:
    void GuardedDecode();
    void Run();
    void DecodeTracks();
    bool WriteTracks(std::wstring& failure);
    bool EndTrack(ImageWriter& writer, size_t track, std::wstring& failure);
    void RaiseProgress(bool force);
    void Fail(const std::wstring& sentence);
    void Succeed();
    void StopDecoders();

    BurnPlan m_plan;
    EventGate m_events;
    std::function<void(BurnRun*)> m_ended;
    std::function<void()> m_finished;
    std::unique_ptr<ImageFiles> m_files;
    SpillFiles m_spill; // before the pipeline, which uses it
    TrackPipeline m_pipeline;
    std::atomic<size_t> m_nextTrack{0};
    std::vector<UniqueKernelHandle> m_threads;

    // Progress, owned by the run's thread.
    uint64_t m_estimatedBytes = 0;
    uint64_t m_bytesWritten = 0;
    size_t m_currentTrack = 0;
    int64_t m_currentTrackFrames = 0;
    ULONGLONG m_lastEvent = 0;
    std::vector<int64_t> m_trackSectors;
};
