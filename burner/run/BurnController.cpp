#include "burner/run/BurnController.h"

#include "burner/EngineState.h"
#include "burner/core/image/CdLayout.h"
#include "burner/image/ImageFolder.h"
#include "base/Text.h"
#include "burner/core/EngineErrors.h"
#include "burner/run/BurnRun.h"
#include "burner/run/HandlerEvents.h"
#include "burner/run/TrackProbe.h"

#include <cstring>

namespace {

std::wstring WithThousands(int64_t value) {
    std::wstring digits = std::to_wstring(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, L",");
    return digits;
}

int32_t CheckTrackCount(size_t tracks) {
    if (tracks == 0) return FailWith(EngineError::NoTracks);
    if (tracks <= static_cast<size_t>(cd::kMaxTracks)) return 0;
    return FailWith(EngineError::TooManyTracks,
                    L"The list has " + std::to_wstring(tracks) +
                        L" tracks, but an audio disc holds at most 99. Remove " +
                        std::to_wstring(tracks - cd::kMaxTracks) + L" of them.");
}

// Each file that cannot be used is reported by its event, here on the
// calling thread, and the first one's sentence becomes the failure's.
int32_t ReportUnusableFiles(const std::vector<std::wstring>& paths,
                            const std::vector<ProbeResult>& probes, const EventHandlers& handlers) {
    EventGate events(HandlerEvents::Of(handlers));
    const ProbeResult* first = nullptr;
    size_t failures = 0;
    for (size_t i = 0; i < probes.size(); ++i) {
        if (probes[i].ok) continue;
        events.AudioDecodeDone(ToAnsi(paths[i]).c_str(), static_cast<uint32_t>(i + 1), 1);
        if (failures++ == 0) first = &probes[i];
    }
    if (first == nullptr) return 0;
    std::wstring sentence = first->error;
    if (failures > 1)
        sentence += L" " + std::to_wstring(failures - 1) +
                    (failures == 2 ? L" other file cannot be used either."
                                   : L" other files cannot be used either.");
    return FailWith(first->failure == AudioDecoder::Failure::CannotOpen ? EngineError::FileMissing
                                                                        : EngineError::FileNotAudio,
                    sentence);
}

int32_t CheckDiscTime(int64_t sectors) {
    if (sectors <= cd::kDiscSectors80) return 0;
    return FailWith(EngineError::DiscTooSmall,
                    L"The tracks need " + FromAnsi(cd::MinutesSeconds(sectors)) +
                        L" of disc time (" + WithThousands(sectors) +
                        L" sectors), but an 80-minute disc holds " +
                        FromAnsi(cd::MinutesSeconds(cd::kDiscSectors80)) + L" (" +
                        WithThousands(cd::kDiscSectors80) + L" sectors). Remove a track or two.");
}

} // namespace

BurnController& BurnController::Instance() {
    static BurnController controller;
    return controller;
}

int32_t BurnController::Prepare() {
    EngineState& state = EngineState::Instance();
    if (!state.IsInitialized()) return ToCode(EngineError::NotInitialized);
    uint64_t aborts = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_run) return FailWith(EngineError::RunUnderWay);
        m_plan.reset();
        aborts = m_aborts;
    }
    // The project's tracks now belong to this run, whatever its end: the
    // program adds every track again for the next one.
    std::vector<ProjectTrack> tracks = state.TakeTracks();
    if (int32_t code = CheckTrackCount(tracks.size())) return code;

    BurnOptions options = state.Options();
    ImageFolderChoice folder = ChooseImageFolder(options);
    if (int32_t code = PrepareImageFolder(folder)) return code;

    std::vector<std::wstring> paths;
    for (const ProjectTrack& track : tracks)
        paths.push_back(track.sourcePath);
    std::vector<ProbeResult> probes = ProbeTracks(paths);
    if (int32_t code = ReportUnusableFiles(paths, probes, state.Handlers())) return code;

    auto plan = std::make_unique<BurnPlan>();
    for (size_t i = 0; i < tracks.size(); ++i)
        plan->tracks.push_back(
            PlannedTrack{paths[i], probes[i].estimatedFrames, probes[i].lengthStated});
    if (int32_t code = CheckDiscTime(plan->EstimatedSectors())) return code;
    plan->folder = folder.path;
    plan->label.assign(options.volumeLabel,
                       strnlen(options.volumeLabel, sizeof options.volumeLabel));
    plan->ejectAfterBurn = options.ejectAfterBurn == 1;

    std::lock_guard<std::mutex> lock(m_mutex);
    // Stopped while the tracks were checked: a Burn that follows must not
    // start what the user stopped.
    if (m_aborts != aborts)
        return FailWith(EngineError::NotPrepared,
                        L"The burn was stopped while its tracks were being checked.");
    m_plan = std::move(plan);
    return 0;
}

int32_t BurnController::Burn() {
    return Burn(EngineState::Instance().Handlers(), nullptr);
}

int32_t BurnController::Burn(const EventHandlers& handlers, std::function<void()> finished) {
    if (!EngineState::Instance().IsInitialized()) return ToCode(EngineError::NotInitialized);
    std::shared_ptr<BurnRun> run;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_run) return FailWith(EngineError::RunUnderWay);
        if (!m_plan) return FailWith(EngineError::NotPrepared);
        run = std::make_shared<BurnRun>(std::move(*m_plan), handlers,
                                        [this](BurnRun* ended) { RunEnded(ended); });
        m_plan.reset();
        m_run = run;
    }
    run->WhenFinished(std::move(finished));
    int32_t code = run->Start();
    if (code != 0) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_run == run) m_run.reset();
    }
    return code;
}

int32_t BurnController::Abort() {
    std::shared_ptr<BurnRun> run;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        run = std::move(m_run);
        m_run.reset();
        m_plan.reset();
        ++m_aborts;
    }
    // A stopped run ends the project too; with no run this only empties it.
    EngineState::Instance().TakeTracks();
    if (run) run->Cancel();
    return 0;
}

void BurnController::RunEnded(BurnRun* run) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_run.get() != run) return; // stopped earlier; a newer run may be under way
    m_run.reset();
    EngineState::Instance().TakeTracks();
}
