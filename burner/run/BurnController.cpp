#include "burner/run/BurnController.h"

#include "burner/EngineState.h"
#include "burner/core/image/CdLayout.h"
#include "burner/image/ImageFolder.h"
#include "base/Text.h"
#include "burner/core/BurnErrors.h"
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

} // namespace

BurnController& BurnController::Instance() {
    static BurnController controller;
    return controller;
}

int32_t BurnController::Prepare() {
    EngineState& state = EngineState::Instance();
    if (!state.IsInitialized()) return 1; // EngineError::NotInitialized
    uint64_t aborts = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_run)
            return FailWith(BurnError::RunUnderWay,
                            L"A burn is already under way; stop it or wait for its end.");
        m_plan.reset();
        aborts = m_aborts;
    }
    // The project's tracks now belong to this run, whatever its end: the
    // program adds every track again for the next one.
    std::vector<ProjectTrack> tracks = state.TakeTracks();
    if (tracks.empty())
        return FailWith(BurnError::NoTracks,
                        L"There is nothing to burn: add at least one audio file.");
    if (tracks.size() > static_cast<size_t>(cd::kMaxTracks))
        return FailWith(BurnError::TooManyTracks,
                        L"The list has " + std::to_wstring(tracks.size()) +
                            L" tracks, but an audio disc holds at most 99. Remove " +
                            std::to_wstring(tracks.size() - cd::kMaxTracks) + L" of them.");

    BurnOptions options = state.Options();
    ImageFolderChoice folder = ChooseImageFolder(options);
    if (int32_t code = PrepareImageFolder(folder)) return code;

    std::vector<std::wstring> paths;
    for (const ProjectTrack& track : tracks)
        paths.push_back(track.sourcePath);
    std::vector<ProbeResult> probes = ProbeTracks(paths);

    // Each file that cannot be used is reported by its event, here on the
    // calling thread, before Prepare returns.
    EventGate events(HandlerEvents::Of(state.Handlers()));
    int32_t firstFailure = 0;
    size_t failures = 0;
    for (size_t i = 0; i < probes.size(); ++i) {
        if (probes[i].ok) continue;
        events.AudioDecodeDone(ToAnsi(paths[i]).c_str(), static_cast<uint32_t>(i + 1), 1);
        if (failures++ == 0) {
            BurnError error = probes[i].failure == AudioDecoder::Failure::CannotOpen
                                  ? BurnError::FileMissing
                                  : BurnError::FileNotAudio;
            firstFailure = ToCode(error);
        }
    }
    if (failures > 0) {
        std::wstring sentence;
        for (const ProbeResult& probe : probes)
            if (!probe.ok) {
                sentence = probe.error;
                break;
            }
        if (failures > 1)
            sentence += L" " + std::to_wstring(failures - 1) +
                        (failures == 2 ? L" other file cannot be used either."
                                       : L" other files cannot be used either.");
        return FailWith(static_cast<BurnError>(firstFailure), sentence);
    }

    auto plan = std::make_unique<BurnPlan>();
    for (size_t i = 0; i < tracks.size(); ++i)
        plan->tracks.push_back(
            PlannedTrack{paths[i], probes[i].estimatedFrames, probes[i].lengthStated});
    int64_t sectors = plan->EstimatedSectors();
    if (sectors > cd::kDiscSectors80)
        return FailWith(
            BurnError::DiscTooSmall,
            L"The tracks need " + FromAnsi(cd::MinutesSeconds(sectors)) + L" of disc time (" +
                WithThousands(sectors) + L" sectors), but an 80-minute disc holds " +
                FromAnsi(cd::MinutesSeconds(cd::kDiscSectors80)) + L" (" +
                WithThousands(cd::kDiscSectors80) + L" sectors). Remove a track or two.");
    plan->folder = folder.path;
    plan->label.assign(options.volumeLabel,
                       strnlen(options.volumeLabel, sizeof options.volumeLabel));
    plan->ejectAfterBurn = options.ejectAfterBurn == 1;

    std::lock_guard<std::mutex> lock(m_mutex);
    // Stopped while the tracks were checked: a Burn that follows must not
    // start what the user stopped.
    if (m_aborts != aborts)
        return FailWith(BurnError::NotPrepared,
                        L"The burn was stopped while its tracks were being checked.");
    m_plan = std::move(plan);
    return 0;
}

int32_t BurnController::Burn() {
    return Burn(EngineState::Instance().Handlers(), nullptr);
}

int32_t BurnController::Burn(const EventHandlers& handlers, std::function<void()> finished) {
    if (!EngineState::Instance().IsInitialized()) return 1; // EngineError::NotInitialized
    std::shared_ptr<BurnRun> run;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_run)
            return FailWith(BurnError::RunUnderWay,
                            L"A burn is already under way; stop it or wait for its end.");
        if (!m_plan)
            return FailWith(BurnError::NotPrepared,
                            L"The burn was started without preparing the tracks first.");
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
