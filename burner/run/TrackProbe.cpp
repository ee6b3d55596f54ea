#include "burner/run/TrackProbe.h"

#include "burner/audio/CdAudioSource.h"
#include "burner/core/image/CdLayout.h"
#include "burner/playtime/PlayTime.h"
#include "burner/core/playtime/PlayTimeErrors.h"
#include "burner/core/playtime/AsfCheck.h"
#include "burner/playtime/FileSource.h"
#include "base/PinnedThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

// The shared state of one Prepare's probes. Held by every probe thread, so
// a thread that Prepare stopped waiting for still finds it.
struct ProbeWork {
    std::vector<std::wstring> paths;
    std::vector<ProbeResult> results;
    std::vector<bool> finished;
    std::atomic<size_t> next{0};
    std::mutex mutex; // guards results, finished and finishedCount
    std::condition_variable changed;
    size_t finishedCount = 0;
};

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

bool AsfFileIsCutShort(const std::wstring& path) {
    FileSource file;
    return file.Open(path.c_str()) && AsfIsCutShort(file);
}

// The header readers settle most damaged files at once, without asking
// Media Foundation, which can fail to answer at all for some of them.
bool RefusedByHeaders(const std::wstring& path, ProbeResult& result) {
    int32_t seconds = 0;
    int32_t code = MeasurePlayTime(path.c_str(), &seconds);
    std::wstring reason;
    switch (static_cast<PlayTimeError>(code)) {
    case PlayTimeError::EmptyFile:
        reason = L" is empty.";
        break;
    case PlayTimeError::NotAudio:
        reason = L" is not audio that this computer can decode.";
        break;
    case PlayTimeError::Damaged:
        reason = L" is damaged or cut short.";
        break;
    case PlayTimeError::NoSound:
        reason = L" holds no audio.";
        break;
    case PlayTimeError::TooLong:
        reason = L" claims a play time far longer than it can hold.";
        break;
    default:
        // Readable, or a reason the decoder states better; but a Windows
        // Media file cut short must never reach the decoder.
        if (!AsfFileIsCutShort(path)) return false; // the decoder says why
        reason = L" is damaged or cut short.";
        break;
    }
    result.failure = AudioDecoder::Failure::NotAudio;
    result.error = L"The file " + Quoted(path) + reason;
    return true;
}

// The length the file's own headers state, in disc frames; 0 when they do
// not settle it. It counts before the decoder's duration, which for some
// files (an MP3 of varying bit rate without a Xing header) is only a guess
// from the first frames, often minutes off.
int64_t StatedFrames(const std::wstring& path) {
    FileSource file;
    if (!file.Open(path.c_str())) return 0;
    AudioLength length = MeasureLength(file);
    if (!length.IsSettled() || length.rate == 0 || length.frames > (uint64_t{1} << 40)) return 0;
    return static_cast<int64_t>((length.frames * cd::kSampleRate + length.rate - 1) / length.rate);
}

ProbeResult ProbeOne(const std::wstring& path) {
    ProbeResult result;
    if (RefusedByHeaders(path, result)) return result;
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
    if (status == CdAudioSource::Status::Error || frames.empty()) {
        result.failure = AudioDecoder::Failure::NotAudio;
        result.error = status == CdAudioSource::Status::Error
                           ? source.Error()
                           : L"The file " + Quoted(path) + L" holds no audio.";
        return result;
    }
    result.ok = true;
    result.estimatedFrames = StatedFrames(path);
    result.lengthStated = result.estimatedFrames > 0;
    if (!result.lengthStated) result.estimatedFrames = source.EstimatedFrames();
    // A file that states no length counts with what it gave so far; the
    // writer still checks the real total.
    if (result.estimatedFrames <= 0)
        result.estimatedFrames = static_cast<int64_t>(frames.size() / 2);
    return result;
}

void ProbeWorker(const std::shared_ptr<ProbeWork>& work) {
    for (;;) {
        size_t index = work->next++;
        if (index >= work->paths.size()) return;
        ProbeResult result = ProbeOne(work->paths[index]);
        std::lock_guard<std::mutex> lock(work->mutex);
        work->results[index] = std::move(result);
        work->finished[index] = true;
        ++work->finishedCount;
        work->changed.notify_all();
    }
}

} // namespace

std::vector<ProbeResult> ProbeTracks(const std::vector<std::wstring>& paths) {
    auto work = std::make_shared<ProbeWork>();
    work->paths = paths;
    work->results.resize(paths.size());
    work->finished.assign(paths.size(), false);
    size_t threadCount = paths.size() < 2 ? paths.size() : 2;
    for (size_t i = 0; i < threadCount; ++i)
        StartPinnedThread([work] { ProbeWorker(work); }); // waited for below, through work
    // Waits for the probes, which raise no events: each file is opened and
    // its first block decoded. A file that keeps Media Foundation from ever
    // answering is given up on after a while and refused.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(15 + paths.size());
    std::unique_lock<std::mutex> lock(work->mutex);
    work->changed.wait_until(lock, deadline, [&] { return work->finishedCount == paths.size(); });
    std::vector<ProbeResult> results = work->results;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (work->finished[i]) continue;
        results[i].ok = false;
        results[i].failure = AudioDecoder::Failure::NotAudio;
        results[i].error = L"The file " + Quoted(paths[i]) +
                           L" could not be read: the system's decoder did not answer.";
    }
    return results;
}
