#include "burner/run/TrackProbe.h"

#include "burner/audio/CdAudioSource.h"

#include <atomic>
#include <thread>

namespace {

ProbeResult ProbeOne(const std::wstring& path) {
    ProbeResult result;
    CdAudioSource source;
    if (!source.Open(path)) {
        result.failure = source.FailureKind() == AudioDecoder::Failure::None
                             ? AudioDecoder::Failure::NotAudio
                             : source.FailureKind();
        result.error = source.Error();
        return result;
    }
    std::vector<int16_t> frames;
    CdAudioSource::Status status = source.Read(frames);
    if (status == CdAudioSource::Status::Error) {
        result.failure = AudioDecoder::Failure::NotAudio;
        result.error = source.Error();
        return result;
    }
    if (frames.empty()) {
        result.failure = AudioDecoder::Failure::NotAudio;
        result.error = L"The file \"" + path + L"\" holds no audio.";
        return result;
    }
    result.ok = true;
    result.estimatedFrames = source.EstimatedFrames();
    // A file that states no length counts with what it gave so far; the
    // writer still checks the real total.
    if (result.estimatedFrames <= 0) result.estimatedFrames = static_cast<int64_t>(frames.size() / 2);
    return result;
}

// Stack alignment for SSE code is not promised at a thread's entry on
// 32-bit Windows.
__attribute__((force_align_arg_pointer)) void ProbeWorker(const std::vector<std::wstring>* paths,
                                                           std::vector<ProbeResult>* results,
                                                           std::atomic<size_t>* next) {
    MediaFoundationScope mediaFoundation;
    for (;;) {
        size_t index = (*next)++;
        if (index >= paths->size()) return;
        if (!mediaFoundation.IsReady()) {
            (*results)[index].failure = AudioDecoder::Failure::NotAudio;
            (*results)[index].error = L"The system's audio decoders could not be started.";
            continue;
        }
        (*results)[index] = ProbeOne((*paths)[index]);
    }
}

} // namespace

std::vector<ProbeResult> ProbeTracks(const std::vector<std::wstring>& paths) {
    std::vector<ProbeResult> results(paths.size());
    std::atomic<size_t> next{0};
    size_t threadCount = paths.size() < 2 ? paths.size() : 2;
    std::vector<std::thread> threads;
    for (size_t i = 0; i < threadCount; ++i)
        threads.emplace_back(ProbeWorker, &paths, &results, &next);
    // Waits for the probes, which raise no events and end once each file
    // has been opened and its first block decoded.
    for (std::thread& thread : threads) thread.join();
    return results;
}
