#include "burner/run/BurnRun.h"

#include "burner/audio/CdAudioSource.h"
#include "burner/image/ImageFiles.h"
#include "burner/core/image/ImageNaming.h"
#include "burner/core/image/ImageWriter.h"
#include "base/FileErrors.h"
#include "base/Text.h"
#include "burner/core/EngineErrors.h"
#include "base/PinnedThread.h"
#include "burner/run/FileManager.h"
#include "burner/run/HandlerEvents.h"

#include <algorithm>
#include <numeric>

namespace {

// Decoded audio waiting in memory for the writer, all tracks together:
// about 95 seconds of disc audio, so the engine stays small however long or
// many the tracks are. A track decoded ahead of the one being written goes
// on into a temporary file once it has filled half of it, so both decoding
// threads keep working.
constexpr size_t kBufferBytes = 16 << 20;
constexpr size_t kTracksInFlight = 2;
constexpr size_t kDecoderThreads = 2;
constexpr size_t kChunkSamples = 64 * 1024; // samples handed over at once
constexpr ULONGLONG kEventIntervalMs = 100;
constexpr DWORD kStopWaitMs = 2000;

// A track that ends well short of the length its file's headers stated when
// it was checked has lost the rest: the file is damaged from there on, or
// was cut (decoders skip what they cannot read, and stop at a cut, without
// an error). Up to a second, or a tenth of the track, is left to decoders'
// differences in where a stream starts and ends.
bool EndedShort(int64_t frames, int64_t statedFrames) {
    int64_t missing = statedFrames - frames;
    return missing > cd::kSampleRate && missing > statedFrames / 10;
}

std::wstring PlayTimeOf(int64_t frames) {
    return FromAnsi(cd::MinutesSeconds(frames / cd::kFramesPerSector));
}

} // namespace

BurnRun::BurnRun(BurnPlan plan, const EventHandlers& handlers, std::function<void(BurnRun*)> ended)
    : m_plan(std::move(plan)), m_events(HandlerEvents::Of(handlers)), m_ended(std::move(ended)),
      m_spill(m_plan.folder),
      m_pipeline(m_plan.tracks.size(), kBufferBytes, kTracksInFlight, &m_spill) {
    m_estimatedBytes = static_cast<uint64_t>(m_plan.EstimatedSectors()) * cd::kBytesPerSector;
}

BurnRun::~BurnRun() = default;

int32_t BurnRun::Start() {
    m_files = std::make_unique<ImageFiles>(m_plan.folder);
    if (!m_files->Create()) {
        int32_t code = FailWith(EngineError::ImageNotCreated, m_files->Error());
        m_files.reset();
        return code;
    }
    std::shared_ptr<BurnRun> self = shared_from_this();
    // The run ends by itself; nobody waits for its thread.
    UniqueKernelHandle thread = StartPinnedThread([self] {
        self->Run();
        if (self->m_finished) self->m_finished();
    });
    if (!thread) {
        DWORD error = GetLastError();
        m_files.reset();
        return FailWith(EngineError::ImageNotCreated,
                        L"The burn could not start: " + FileErrorReason(error));
    }
    return 0;
}

void BurnRun::Cancel() {
    m_events.Close();
    m_pipeline.Cancel();
}

void BurnRun::Run() {
    // Two threads decode, each its own track, mixing and resampling as they
    // go: measured under Wine, this beats one thread decoding while another
    // converts (74 minutes of MP3: 15-21 s against 22-27 s). Each thread
    // holds the run, so one left behind (see StopDecoders) never finds it gone.
    std::shared_ptr<BurnRun> self = shared_from_this();
    for (size_t i = 0; i < std::min(kDecoderThreads, m_plan.tracks.size()); ++i) {
        UniqueKernelHandle decoder = StartPinnedThread([self] { self->GuardedDecode(); });
        if (decoder) m_threads.push_back(std::move(decoder));
    }
    if (m_threads.empty()) {
        Fail(L"The burn could not start its decoding threads.");
        return;
    }
    std::wstring failure;
    if (!WriteTracks(failure)) {
        if (m_pipeline.IsCancelled() && failure.empty()) {
            StopDecoders();
            m_spill.Close();
            m_files->Discard();
            return; // aborted: no event, nothing left behind
        }
        Fail(failure);
        return;
    }
    StopDecoders();
    m_spill.Close(); // every track's file went once it was written
    Succeed();
}

void BurnRun::GuardedDecode() {
    try {
        DecodeTracks();
    } catch (...) {
        // Out of memory: the writer must not wait for this thread forever.
        m_pipeline.Fail(m_nextTrack, L"The burn ran out of memory while decoding.");
    }
}

void BurnRun::DecodeTracks() {
    for (;;) {
        size_t track = m_nextTrack++;
        if (track >= m_plan.tracks.size()) return;
        if (!m_pipeline.WaitForTurn(track)) return;
        const std::wstring& path = m_plan.tracks[track].path;
        CdAudioSource source;
        if (!source.Open(path)) {
            m_pipeline.Fail(track, source.Error());
            return;
        }
        TrackPipeline::Chunk chunk;
        chunk.reserve(kChunkSamples + 16384);
        for (;;) {
            CdAudioSource::Status status = source.Read(chunk);
            if (status == CdAudioSource::Status::Error) {
                m_pipeline.Fail(track, source.Error());
                return;
            }
            bool end = status == CdAudioSource::Status::End;
            if (chunk.size() >= kChunkSamples || (end && !chunk.empty())) {
                if (!m_pipeline.Push(track, std::move(chunk))) return;
                chunk = TrackPipeline::Chunk();
                chunk.reserve(kChunkSamples + 16384);
            }
            if (end) break;
        }
        m_pipeline.Finish(track);
    }
}

bool BurnRun::WriteTracks(std::wstring& failure) {
    ImageWriter writer(*m_files);
    m_lastEvent = GetTickCount64();
    for (;;) {
        TrackPipeline::Chunk chunk;
        size_t track = 0;
        std::wstring error;
        TrackPipeline::Next next = m_pipeline.Pop(chunk, track, error);
        switch (next) {
        case TrackPipeline::Next::Cancelled:
            return false;
        case TrackPipeline::Next::Failed: {
            // A thread that ran out of memory may name a track past the last.
            track = std::min(track, m_plan.tracks.size() - 1);
            m_events.AudioDecodeDone(ToAnsi(m_plan.tracks[track].path).c_str(),
                                     static_cast<uint32_t>(track + 1), 1);
            failure = error;
            return false;
        }
        case TrackPipeline::Next::SpillFailed:
            failure = error;
            return false;
        case TrackPipeline::Next::Chunk:
            m_currentTrack = track;
            if (!writer.WriteFrames(chunk.data(), chunk.size() / 2)) {
                failure = m_files->Error();
                return false;
            }
            m_bytesWritten = writer.BytesWritten();
            m_currentTrackFrames = writer.CurrentTrackFrames();
            RaiseProgress(false);
            break;
        case TrackPipeline::Next::TrackEnd:
            if (!EndTrack(writer, track, failure)) return false;
            break;
        case TrackPipeline::Next::Done:
            m_trackSectors = writer.TrackSectors();
            return true;
        }
    }
}

// Closes the track the writer has taken in full: refused when it ended far
// short of the length its header states (damaged or cut), or when the disc
// would overflow.
bool BurnRun::EndTrack(ImageWriter& writer, size_t track, std::wstring& failure) {
    const PlannedTrack& planned = m_plan.tracks[track];
    if (planned.lengthStated && EndedShort(writer.CurrentTrackFrames(), planned.estimatedFrames)) {
        m_events.AudioDecodeDone(ToAnsi(planned.path).c_str(), static_cast<uint32_t>(track + 1), 1);
        failure = L"The file \"" + planned.path + L"\" ended after " +
                  PlayTimeOf(writer.CurrentTrackFrames()) + L" of its " +
                  PlayTimeOf(planned.estimatedFrames) + L": it is damaged or was cut short.";
        return false;
    }
    if (!writer.EndTrack()) {
        failure = m_files->Error();
        return false;
    }
    m_bytesWritten = writer.BytesWritten();
    int64_t sectors =
        std::accumulate(writer.TrackSectors().begin(), writer.TrackSectors().end(), int64_t{0});
    if (sectors > cd::kDiscSectors80) {
        failure = L"The tracks turned out longer than an 80-minute disc holds (" +
                  FromAnsi(cd::MinutesSeconds(sectors)) + L" of " +
                  FromAnsi(cd::MinutesSeconds(cd::kDiscSectors80)) + L").";
        return false;
    }
    m_events.AudioDecoder(100.0f, track + 1);
    m_events.AudioDecodeDone(ToAnsi(planned.path).c_str(), static_cast<uint32_t>(track + 1), 0);
    m_currentTrack = track + 1;
    m_currentTrackFrames = 0;
    return true;
}

void BurnRun::RaiseProgress(bool force) {
    ULONGLONG now = GetTickCount64();
    if (!force && now - m_lastEvent < kEventIntervalMs) return;
    m_lastEvent = now;
    double total = static_cast<double>(std::max(m_estimatedBytes, m_bytesWritten));
    double percent = total > 0 ? 100.0 * static_cast<double>(m_bytesWritten) / total : 0.0;
    // 100 % is said once, when everything is written.
    if (!force)
        percent = std::min(percent, 99.9);
    else
        percent = 100.0;
    float fill = static_cast<float>(m_pipeline.Fill() * 100.0);
    m_events.Process(static_cast<float>(percent), static_cast<uint32_t>(m_currentTrack + 1), fill,
                     static_cast<double>(m_bytesWritten), static_cast<uint64_t>(total));
    if (force || m_currentTrack >= m_plan.tracks.size()) return;
    int64_t estimated = m_plan.tracks[m_currentTrack].estimatedFrames;
    double trackPercent = estimated > 0 ? 100.0 * static_cast<double>(m_currentTrackFrames) /
                                              static_cast<double>(estimated)
                                        : 0.0;
    m_events.AudioDecoder(static_cast<float>(std::min(trackPercent, 99.9)), m_currentTrack + 1);
}

void BurnRun::StopDecoders() {
    // Waits for the decoding threads, which raise no events
    // and stop at their next block once the run is complete or cancelled. A
    // decoder stuck inside Media Foundation (a damaged file can do that) is
    // left behind after a while; it holds the run and the module itself.
    std::vector<HANDLE> threads;
    for (const UniqueKernelHandle& thread : m_threads)
        threads.push_back(thread.Get());
    if (!threads.empty())
        WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE,
                               kStopWaitMs);
    m_threads.clear();
}

void BurnRun::Fail(const std::wstring& sentence) {
    m_pipeline.Cancel();
    StopDecoders();
    m_spill.Close();
    if (m_files) m_files->Discard();
    m_ended(this);
    std::string text = ToAnsi(sentence.empty() ? L"The burn failed." : sentence);
    m_events.BurnDone(text.c_str());
}

void BurnRun::Succeed() {
    if (!m_files->CloseData()) {
        Fail(m_files->Error());
        return;
    }
    RaiseProgress(true);
    m_events.Finalize();
    std::wstring label = FromAnsi(m_plan.label);
    if (m_events.IsClosed() ||
        !m_files->Complete(SafeFileName(label), ToUtf8(label), m_trackSectors)) {
        if (m_events.IsClosed()) {
            m_files->Discard();
            return;
        }
        Fail(m_files->Error());
        return;
    }
    if (!m_events.ClaimEnd()) {
        // Stopped in the last moment: a stopped run leaves nothing behind.
        DeleteFileW(m_files->BinPath().c_str());
        DeleteFileW(m_files->CuePath().c_str());
        return;
    }
    // Finished: a Stop from now on no longer holds back the burn-done event,
    // so the image is never kept without it.
    if (m_plan.ejectAfterBurn) ShowInFileManager(m_files->CuePath());
    m_ended(this);
    m_events.BurnDone(nullptr);
}
